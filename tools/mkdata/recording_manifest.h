// The recordings' manifest (tools/mkdata/recordings/manifest.tsv) and the
// syllables it names, spelt as the voice directory spells them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A voice name: letters (':' for ü), then a tone digit 1-5; at most
// kMaxVoiceName bytes in all ("da4", "Zhong1", "lu:4").
bool ValidVoiceName(const std::string& name);
// A recorded syllable: a voice name in lower case.
bool ValidSyllable(const std::string& syllable);
// ASCII letters in lower case ("Zhong1" -> "zhong1").
std::string LowerCase(std::string text);
// The tone digit a syllable ends with (5: neutral); 0 for an empty one.
int ToneOf(const std::string& syllable);

// One row of the recordings' manifest (tab-separated, a header line first):
// file, character, syllable, source path, SHA-256, an optional reason for
// which the recording is accepted although a check fails, and for a syllable
// cut out of a word recording three more: the word, the syllable's place in
// it ("2/2") and the cut points in seconds of the decoded word
// ("0.412-0.871").
struct RecordingRow {
    std::string file;
    std::string character;  // UTF-8
    std::string syllable;   // "da4"
    std::string sourcePath;
    std::string sha256;  // lower-case hex
    std::string accepted;
    std::string word;        // UTF-8; empty for a recording of the character alone
    std::size_t place = 0;   // 1-based place of the syllable in word
    std::size_t places = 0;  // the word's syllables
    double cutFrom = 0;      // seconds
    double cutTo = 0;
};

// The manifest's cells of a cut: "2/2" and "0.412-0.871".
std::string CutPlace(const RecordingRow& row);
std::string CutPoints(const RecordingRow& row);

// Throws std::runtime_error on a malformed row.
std::vector<RecordingRow> ParseRecordingManifest(const std::string& text);
std::string Sha256Hex(std::span<const std::uint8_t> bytes);
std::string Sha256Hex(const std::string& bytes);
