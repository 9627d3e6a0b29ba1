// The recordings of the manifest, each syllable's decoded and checked only
// when the lesson asks for it.
#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "tools/mkdata/recording_candidates.h"
#include "tools/mkdata/recording_manifest.h"
#include "tools/mkdata/sound_processing.h"
#include "tools/mkdata/voice_names.h"

// The recordings of a manifest, decoded only when a syllable is asked for.
class RecordingPool {
public:
    // Rows read otherwise than as their syllable are left out at once; the
    // others wait, per syllable, sole readings before primary ones, then the
    // commonest character first.
    RecordingPool(std::string dir, std::vector<RecordingRow> rows,
                  const CharacterReadings& readings,
                  const std::unordered_map<std::string, long long>& frequencies);
    RecordingPool(const RecordingPool&) = delete;  // Find's pointers and Query's this
    RecordingPool& operator=(const RecordingPool&) = delete;

    // The recording that speaks syllable: its candidates checked (SHA-256,
    // decoding, ProcessRecording) in turn until one passes, or failing that
    // the first accepted in the manifest; nullptr when none. Each syllable is
    // resolved once.
    const PoolRecording* Find(const std::string& syllable);
    RecordedQuery Query();

    std::size_t RowCount() const { return rowCount_; }
    std::size_t SyllablesOffered() const { return candidates_.size(); }
    std::size_t SyllablesAsked() const { return found_.size(); }
    // The recordings decoded so far, in the order they were.
    const std::deque<PoolRecording>& Decoded() const { return decoded_; }
    // Rows not decoded or not usable, with why.
    const std::vector<std::string>& Rejected() const { return rejected_; }

private:
    // The row's file checked against its SHA-256 and processed, kept in
    // decoded_; nullptr, with why in rejected_, when it is missing, differs or
    // cannot be decoded.
    PoolRecording* Decode(const RecordingRow& row, const ReadingCheck& reading);

    std::string dir_;
    std::size_t rowCount_ = 0;
    std::map<std::string, std::vector<std::pair<RecordingRow, ReadingCheck>>> candidates_;
    std::map<std::string, const PoolRecording*> found_;  // nullptr: none passes
    std::deque<PoolRecording> decoded_;
    std::vector<std::string> rejected_;
};

// Reads dir/manifest.tsv into a pool; nothing is decoded yet. Throws
// std::runtime_error when the manifest is missing.
RecordingPool LoadRecordings(const std::string& dir, const CharacterReadings& readings,
                             const std::unordered_map<std::string, long long>& frequencies);

// The table of the recordings decoded, one line each, and the rows left out.
std::string PoolReport(const RecordingPool& pool);
