#include "tools/mkdata/frequency.h"

#include <cstdlib>

#include "tools/mkdata/source_text.h"

std::unordered_map<std::string, long long> WordFrequencies(const std::string& text) {
    std::unordered_map<std::string, long long> counts;
    for (const std::string& line : SplitLines(text)) {
        const std::size_t blank = line.find(' ');
        if (blank == std::string::npos || blank == 0) continue;
        const char* digits = line.c_str() + blank + 1;
        char* end = nullptr;
        const long long n = std::strtoll(digits, &end, 10);
        if (end == digits || n <= 0 || (*end != ' ' && *end != '\0')) continue;
        auto& slot = counts[line.substr(0, blank)];
        if (n > slot) slot = n;
    }
    return counts;
}
