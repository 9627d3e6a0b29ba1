// Which characters may speak a syllable: every reading of each single
// character, how a character is read as a syllable, and the characters whose
// recordings are tried for it, commonest first.
#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/mkdata/cedict.h"

// Every reading of each single character: CC-CEDICT's (lower case) and
// Unihan's kMandarin values (numbered); and CC-CEDICT's readings of the words
// of more than one character (lower case, "xue2 sheng5").
struct CharacterReadings {
    std::map<std::string, std::set<std::string>> cedict;
    std::map<std::string, std::vector<std::string>> unihan;
    std::map<std::string, std::set<std::string>> words;
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

// How a syllable cut out of a word is read there: Sole when every CC-CEDICT
// reading of the word has that syllable at that place (1-based) of `places`,
// Primary when some do, else None.
ReadingCheck CheckCutReading(const CharacterReadings& readings, const std::string& word,
                             std::size_t place, std::size_t places, const std::string& syllable);

// The characters of `available` that may speak syllable: those with it as
// their sole reading by descending frequency, or, when there is none, those
// with it as their primary reading; at most `count`.
std::vector<std::string> RecordingCandidates(
    const std::string& syllable, const std::vector<std::string>& available,
    const CharacterReadings& readings,
    const std::unordered_map<std::string, long long>& frequencies, std::size_t count);
