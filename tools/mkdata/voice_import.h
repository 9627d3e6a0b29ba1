// Taking recordings from a copy of the collection (a folder of MP3s named by
// code point and its .tsv: file, character, source path, SHA-256) into the
// recordings folder: for each syllable the commonest character read so, or the
// next where a recording fails its checks.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/mkdata/recording_candidates.h"

// Every syllable (ValidSyllable) a character of the collection in sourceDir is
// read as (CC-CEDICT, Unihan) for which RecordingCandidates finds a character,
// in sorted order.
std::vector<std::string> SyllablesOffered(
    const std::string& sourceDir, const CharacterReadings& readings,
    const std::unordered_map<std::string, long long>& frequencies);

// A word recording of the collection: its file, word, source path, SHA-256.
struct WordFile {
    std::string file;
    std::string word;
    std::string path;
    std::string sha;
};

// A syllable at a place of a word recording, and how well it is placed.
struct SyllablePlace {
    const WordFile* file = nullptr;
    std::vector<std::string> syllables;  // the word's reading that has it there
    std::size_t place = 0;               // 1-based
    ReadingCheck reading;
};

// Where the words' recordings hold syllable, best first: words that read it
// so in every reading, then for a full tone the last syllable of the word
// (not shaped by a following one) before an inner one, then the commonest
// word. Left out: a third tone before a third (spoken as a second), 一 and 不
// before another syllable (their tone changes), erhua words (儿 joins the
// syllable before it).
std::vector<SyllablePlace> SyllablePlaces(
    const std::string& syllable, const std::vector<WordFile>& words,
    const CharacterReadings& readings,
    const std::unordered_map<std::string, long long>& frequencies);

struct ImportResult {
    std::size_t added = 0;
    std::size_t cut = 0;                  // syllables cut out of a word recording
    std::size_t removed = 0;              // neutral characters that left
    std::size_t kept = 0;                 // syllables the manifest already held
    std::vector<std::string> unrecorded;  // "syllable\twhy", one a syllable none passed
};

// For each syllable not in recordingsDir/manifest.tsv: its first `tries`
// candidates, decoded and checked in turn (ProcessRecording); a character
// also read otherwise is taken only when the tone check can tell its readings
// apart (not neutral, no other reading in the same tone). The first that
// passes is copied into recordingsDir and appended to the manifest. Every
// syllable without one is written, with why, to recordingsDir/unrecorded.tsv
// (its rows for other syllables stay). Prints a line per syllable tried.
// Throws std::runtime_error when a source file cannot be read or differs from
// its SHA-256.
ImportResult ImportRecordings(const std::string& sourceDir, const std::string& recordingsDir,
                              const std::vector<std::string>& syllables, std::size_t tries,
                              const CharacterReadings& readings,
                              const std::unordered_map<std::string, long long>& frequencies);
