// One dictionary for every lesson of a course: each course character's lines
// as the first lesson that teaches it ordered them on its own.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "tools/mkdata/dictionary_build.h"

// A character's lines (those whose word begins with it), in their order.
struct SettledCharacter {
    std::uint16_t code = 0;
    std::vector<DictionaryLine> lines;
};

// The lines of lines whose word begins with code, in order.
std::vector<DictionaryLine> LinesBeginningWith(const std::vector<DictionaryLine>& lines,
                                               std::uint16_t code);

// The settled characters' lines first, character by character in the order
// given, then the other lines of lines in their order: what the phrase search
// and the card then find for a settled character is its settled list.
std::vector<DictionaryLine> WithSettledLines(const std::vector<DictionaryLine>& lines,
                                             const std::vector<SettledCharacter>& settled);
