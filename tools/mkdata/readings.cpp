#include "tools/mkdata/readings.h"

#include <algorithm>
#include <cstdlib>

#include "tools/mkdata/meaning.h"
#include "tools/mkdata/recording_manifest.h"
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

namespace {

// Character (UTF-8) -> its kMandarin values, numbered, zh-CN reading first.
std::map<std::string, std::vector<std::string>> MandarinValues(const std::string& unihan) {
    std::map<std::string, std::vector<std::string>> values;
    for (const std::string& line : SplitLines(unihan)) {
        if (line.rfind("U+", 0) != 0) continue;
        const std::vector<std::string> cells = Split(line, '\t');
        if (cells.size() != 3 || cells[1] != "kMandarin") continue;
        const auto code = static_cast<char32_t>(std::strtoul(cells[0].c_str() + 2, nullptr, 16));
        std::vector<std::string> numbered;
        for (const std::string& value : Split(cells[2], ' ')) {
            auto n = NumberedPinyin(value);
            if (n) numbered.push_back(*n);
            if (!n && numbered.empty()) break;  // no usable first value
        }
        if (!numbered.empty()) values[EncodeUtf8(code)] = std::move(numbered);
    }
    return values;
}

// Whether jieba's tag is a noun's, a verb's or an adjective's ("ng", "v", "a").
bool ContentTag(const std::string& tag) {
    return !tag.empty() && (tag[0] == 'n' || tag[0] == 'v' || tag[0] == 'a');
}

}  // namespace

std::map<std::string, std::string> CardReadings(const std::string& unihan,
                                                const std::vector<CedictEntry>& entries,
                                                const WordTags& jiebaTags) {
    const auto values = MandarinValues(unihan);
    std::map<std::string, std::string> readings;
    for (const auto& [character, v] : values) readings[character] = v.front();

    // Readings with a line of their own of the characters whose first value is neutral.
    struct OwnLines {
        bool neutral = false;
        std::vector<std::string> toned;  // source order
    };
    std::map<std::string, OwnLines> own;
    for (const CedictEntry& e : entries) {
        const auto first = readings.find(e.simplified);
        if (first == readings.end() || ToneOf(first->second) != 5 || e.senses.empty() ||
            e.pinyin.find(' ') != std::string::npos || LowerCase(e.pinyin) != e.pinyin ||
            IsReferenceSense(AsciiSense(e.senses.front())))
            continue;
        OwnLines& lines = own[e.simplified];
        if (e.pinyin == first->second) {
            lines.neutral = true;
        } else if (ToneOf(e.pinyin) != 5 && std::find(lines.toned.begin(), lines.toned.end(),
                                                      e.pinyin) == lines.toned.end()) {
            lines.toned.push_back(e.pinyin);
        }
    }
    for (const auto& [character, lines] : own) {
        if (lines.toned.empty()) continue;
        const std::vector<std::string>& v = values.at(character);
        const auto listed =
            std::find_first_of(v.begin() + 1, v.end(), lines.toned.begin(), lines.toned.end());
        const auto tag = jiebaTags.find(character);
        const bool content = tag != jiebaTags.end() && ContentTag(tag->second);
        if (lines.neutral && listed == v.end() && !content) continue;
        readings[character] = listed != v.end() ? *listed : lines.toned.front();
    }
    return readings;
}
