#include "tools/mkdata/frequency.h"

#include <cstdlib>

#include "tools/mkdata/source_text.h"

std::unordered_map<std::string, long long> WordFrequencies(const std::string& text) {
    std::unordered_map<std::string, long long> counts;
    for (const std::string& line : SplitLines(text)) {
        const std::size_t comma = line.rfind(',');
        if (comma == std::string::npos || comma == 0) continue;
        const long long n = std::strtoll(line.c_str() + comma + 1, nullptr, 10);
        auto& slot = counts[line.substr(0, comma)];
        if (n > slot) slot = n;  // a word listed twice keeps its larger count
    }
    return counts;
}
