// CC-CEDICT entries: "TRADITIONAL SIMPLIFIED [pin1 yin1] /sense/sense/".
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct CedictEntry {
    std::string traditional;
    std::string simplified;
    std::string pinyin;
    std::vector<std::string> senses;  // UTF-8, as in the source
    std::size_t sourceIndex = 0;      // position among the entries of the source
};

// The entries of a CC-CEDICT text; comment lines (#) and malformed lines are skipped.
std::vector<CedictEntry> ParseCedict(const std::string& text);
