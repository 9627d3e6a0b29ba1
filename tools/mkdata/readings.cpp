#include "tools/mkdata/readings.h"

#include <cstdlib>

#include "tools/mkdata/source_text.h"

namespace {

struct ToneVowel {
    char32_t code;
    const char* base;
    int tone;
};

constexpr ToneVowel kToneVowels[] = {
    {U'ā', "a", 1},  {U'á', "a", 2},  {U'ǎ', "a", 3},  {U'à', "a", 4},  {U'ē', "e", 1},
    {U'é', "e", 2},  {U'ě', "e", 3},  {U'è', "e", 4},  {U'ī', "i", 1},  {U'í', "i", 2},
    {U'ǐ', "i", 3},  {U'ì', "i", 4},  {U'ō', "o", 1},  {U'ó', "o", 2},  {U'ǒ', "o", 3},
    {U'ò', "o", 4},  {U'ū', "u", 1},  {U'ú', "u", 2},  {U'ǔ', "u", 3},  {U'ù', "u", 4},
    {U'ǖ', "u:", 1}, {U'ǘ', "u:", 2}, {U'ǚ', "u:", 3}, {U'ǜ', "u:", 4}, {U'ü', "u:", 5},
    {U'ḿ', "m", 2},  {U'ń', "n", 2},  {U'ň', "n", 3},  {U'ǹ', "n", 4},
};

}  // namespace

std::optional<std::string> NumberedPinyin(const std::string& toneMarked) {
    std::string base;
    int tone = 5;
    for (char32_t c : DecodeUtf8(toneMarked)) {
        if (c >= 'a' && c <= 'z') {
            base += static_cast<char>(c);
            continue;
        }
        if (c >= 'A' && c <= 'Z') {
            base += static_cast<char>(c - 'A' + 'a');
            continue;
        }
        bool found = false;
        for (const ToneVowel& v : kToneVowels) {
            if (v.code != c) continue;
            base += v.base;
            if (v.tone != 5) tone = v.tone;
            found = true;
            break;
        }
        if (!found) return std::nullopt;
    }
    if (base.empty()) return std::nullopt;
    return base + std::to_string(tone);
}

std::map<std::string, std::string> PrimaryReadings(const std::string& unihan) {
    std::map<std::string, std::string> readings;
    for (const std::string& line : SplitLines(unihan)) {
        if (line.rfind("U+", 0) != 0) continue;
        const std::size_t tab1 = line.find('\t');
        if (tab1 == std::string::npos) continue;
        const std::size_t tab2 = line.find('\t', tab1 + 1);
        if (tab2 == std::string::npos || line.compare(tab1 + 1, tab2 - tab1 - 1, "kMandarin") != 0)
            continue;
        const auto code = static_cast<char32_t>(std::strtoul(line.c_str() + 2, nullptr, 16));
        std::string value = line.substr(tab2 + 1);
        const std::size_t blank = value.find(' ');
        if (blank != std::string::npos) value.resize(blank);  // zh-CN reading first
        if (auto numbered = NumberedPinyin(value)) readings[EncodeUtf8(code)] = *numbered;
    }
    return readings;
}
