// How many of the commonest characters a teacher can make a lesson of: each
// one's card syllable voiced, its stroke data present, and it alone drawn
// inside the outline floor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "tools/mkdata/dictionary_build.h"
#include "tools/mkdata/frequency.h"
#include "tools/mkdata/voice_names.h"

// The n GB2312 hanzi most frequent in the words counted: each character's
// count is the sum of the counts of the words it stands in, once for each time
// it does (大 of 大大 twice), so 么 counts with 什么 and 怎么. Most counted
// first, equal counts by code point.
std::vector<std::string> CommonestCharacters(const WordCounts& counts, std::size_t n);

struct CoverageEntry {
    std::string character;  // UTF-8
    std::string reading;    // the card's; empty without a card
    std::string reason;     // why it cannot stand in a lesson; empty when it can
};

// The IoU the character (GB code) is drawn at alone; throws std::runtime_error
// with the builder's words when its stroke data cannot make an outline.
using OutlineAlone = std::function<double(std::uint16_t code)>;

// Each character (GB2312 hanzi) checked as the builder checks a lesson
// character: its card line, a recording of the card syllable, then its outline.
std::vector<CoverageEntry> MeasureCoverage(const std::vector<std::string>& characters,
                                           const std::vector<DictionaryLine>& lines,
                                           const RecordedQuery& recorded,
                                           const OutlineAlone& outline, double floor);

// The Markdown table of how many of the first n of each of `firsts` (and of
// all the entries) can stand in a lesson, then the ones that cannot, by rank.
std::string CoverageTable(const std::vector<CoverageEntry>& entries,
                          std::span<const std::size_t> firsts);
