// The voice section: which syllables are recorded, and their recordings, made
// from human recordings of single characters (tools/mkdata/recordings): each
// decoded with sox, filtered, trimmed, faded, measured and checked, evened.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "lesson/voice_directory.h"
#include "tools/mkdata/cedict.h"
#include "tools/mkdata/dictionary_build.h"
#include "tools/mkdata/pitch.h"
#include "tools/mkdata/wav.h"

inline constexpr std::size_t kVoiceCount = kVoiceEntries;

// One row of the recordings' manifest (tab-separated, a header line first):
// file, character, syllable, source path, SHA-256, and an optional reason
// for which the recording is accepted although a check fails.
struct RecordingRow {
    std::string file;
    std::string character;  // UTF-8
    std::string syllable;   // "da4"
    std::string sourcePath;
    std::string sha256;  // lower-case hex
    std::string accepted;
};

// Throws std::runtime_error on a malformed row.
std::vector<RecordingRow> ParseRecordingManifest(const std::string& text);
std::string Sha256Hex(std::span<const std::uint8_t> bytes);

// Every reading of each single character: CC-CEDICT's (lower case) and
// Unihan's kMandarin values (numbered).
struct CharacterReadings {
    std::map<std::string, std::set<std::string>> cedict;
    std::map<std::string, std::vector<std::string>> unihan;
};
CharacterReadings ReadCharacterReadings(const std::vector<CedictEntry>& entries,
                                        const std::string& unihanReadings);

enum class ReadingFit {
    Sole,     // CC-CEDICT and every kMandarin value give only this syllable
    Primary,  // kMandarin's first value and one of CC-CEDICT's: other readings exist
    None,
};
struct ReadingCheck {
    ReadingFit fit = ReadingFit::None;
    std::string note;  // the other readings, for Primary
};
ReadingCheck CheckReading(const CharacterReadings& readings, const std::string& character,
                          const std::string& syllable);

// The characters of `available` that may speak syllable: those with it as
// their sole reading by descending frequency, or, when there is none, those
// with it as their primary reading; at most `count`.
std::vector<std::string> RecordingCandidates(
    const std::string& syllable, const std::vector<std::string>& available,
    const CharacterReadings& readings,
    const std::unordered_map<std::string, long long>& frequencies, std::size_t count);

// Whether a syllable (lower case, "da4") has a recording that passes its
// checks. The pool's query decodes a syllable's recordings on first use.
using RecordedQuery = std::function<bool(const std::string& syllable)>;

// The recorded syllable that plays name (a syllable of a word, spoken for
// its character): its lower-case form, or for a neutral tone without a
// recording the character's primary reading; empty when none is recorded.
std::string RecordedSyllable(const std::string& name, const std::string& character,
                             const RecordedQuery& recorded,
                             const std::map<std::string, std::string>& primaryReadings);

// Refuses a lesson whose card syllable (the pinyin of a code's card record)
// has no recording: throws std::runtime_error naming the character and the
// syllable ("汉 (han4): no human recording of this syllable; ...").
void RefuseUnrecordedCards(const std::vector<DictionaryLine>& lines,
                           const std::vector<std::uint16_t>& lessonCodes,
                           const RecordedQuery& recorded,
                           const std::map<std::string, std::string>& primaryReadings);

// Moves the lines of each word on a lesson character's first phrase page
// that has a syllable without a recording to just behind that page, until
// every first page is spoken in full. Returns the words moved (UTF-8).
std::vector<std::string> MoveUnspokenPhrasesBack(
    std::vector<DictionaryLine>& lines, const std::vector<std::uint16_t>& lessonCodes,
    const RecordedQuery& recorded, const std::map<std::string, std::string>& primaryReadings);

// While the card syllables and those of the first phrase pages need more than
// kVoiceCount names, a page word leaves for the first phrase behind its page
// that needs no name the pages would lose: of the words with names of their
// own, the one with most, then the lowest on its page, then of the later
// character. The taker goes to the end of the page, the word just behind it.
// The lesson's own words (of lesson characters only) stay, and a word not
// spoken in full never takes a place. Returns the words moved (UTF-8);
// throws std::runtime_error when no word can give way.
std::vector<std::string> MovePhrasesBackToFitVoices(
    std::vector<DictionaryLine>& lines, const std::vector<std::uint16_t>& lessonCodes,
    const RecordedQuery& recorded, const std::map<std::string, std::string>& primaryReadings);

struct VoiceChoice {
    std::vector<std::string> names;     // in directory order
    std::vector<std::string> spokenAs;  // the recorded syllable each name plays
    std::size_t cardNames = 0;          // names[0, cardNames): the card syllables
    std::size_t pageNames = 0;          // then those of the first phrase pages
};

// The card syllables of the lesson codes (slot order), then the syllables the
// phrase window plays for the first page of each code's phrase list, then the
// most frequent recorded syllables (by the frequency of the words whose
// primary line holds them). A name plays the recording of its lower-case
// form; a neutral-tone name without one plays its character's primary
// reading (primaryReadings) when that is recorded. Refuses a card syllable
// without a recording (RefuseUnrecordedCards); throws std::runtime_error when
// the first two groups need more than kVoiceCount names, a name longer than 7
// bytes, or a syllable without a recording. The frequent syllables are
// queried in order until the directory is full.
VoiceChoice ChooseVoiceNames(const std::vector<DictionaryLine>& lines,
                             const std::vector<std::uint16_t>& lessonCodes,
                             const std::unordered_map<std::string, long long>& frequencies,
                             const RecordedQuery& recorded,
                             const std::map<std::string, std::string>& primaryReadings);

// High-pass filter (two passes of a 2-pole Butterworth, forward and backward)
// at cutoffHz.
void HighPass(std::vector<float>& samples, std::uint32_t rate, double cutoffHz);
// Cuts the silence (frames 40 dB below the loudest 10 ms) to pads of 30 ms
// before and 80 ms after the speech.
std::vector<float> TrimSilence(const std::vector<float>& samples, std::uint32_t rate);
// Raised-cosine fades over the first and last `seconds`.
void Fade(std::vector<float>& samples, std::uint32_t rate, double inSeconds, double outSeconds);

// A recording of the pool, processed at its own rate and measured.
struct PoolRecording {
    RecordingRow row;
    ReadingCheck reading;
    std::vector<float> samples;  // filtered, trimmed, faded
    std::uint32_t rate = 0;
    SoundFigures source;   // the decoded file: clipping
    SoundFigures figures;  // the processed sound; tailDb before the fade
    ToneCheck tone;
    std::string fault;  // empty when every check passes
    bool used = false;  // the recording that speaks its syllable
};

// Decodes the file at path, processes it and runs the checks (reading, clipping,
// the end of the source, the tone); nullopt when sox cannot decode it.
std::optional<PoolRecording> ProcessRecording(const std::string& path, RecordingRow row,
                                              const ReadingCheck& reading);

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

struct SpokenRecording {
    std::string name;
    std::string spokenAs;
    std::vector<std::uint8_t> wav;  // plain image
    WavFigures info;
};

struct VoiceBuild {
    std::vector<SpokenRecording> recordings;
    std::uint32_t sampleRate = 0;
    int bitsPerSample = 0;
    std::size_t totalBytes = 0;
};

// Evens the recordings of the chosen names to one RMS (-18 dBFS, or lower so
// that no peak passes 0.95) and takes the highest sample rate and width
// whose images fit in byteBudget together. workDir holds the intermediate
// files. Throws std::runtime_error when a tool fails or nothing fits.
VoiceBuild BuildVoices(const VoiceChoice& choice, RecordingPool& pool, std::size_t byteBudget,
                       const std::string& workDir);
