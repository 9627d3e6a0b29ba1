#include "tools/mkdata/phrase_page.h"

#include "tools/mkdata/gb2312.h"

bool QualifiesAsPhrase(const std::string& gbWord, std::uint16_t code) {
    // The word slot as RecordWord leaves it: the word, then its terminator.
    auto byte = [&](std::size_t i) -> unsigned {
        return i < gbWord.size() ? static_cast<unsigned char>(gbWord[i]) : 0u;
    };
    return byte(0) == (code >> 8u) && byte(1) == (code & 0xFFu) && byte(2) != 0 &&
           (byte(4) == 0 || byte(6) == 0);
}

std::vector<std::size_t> FirstPhrases(const std::vector<DictionaryLine>& lines, std::uint16_t code,
                                      std::size_t count) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < lines.size() && found.size() < count; ++i) {
        if (QualifiesAsPhrase(lines[i].word, code)) found.push_back(i);
    }
    return found;
}

std::vector<std::size_t> FirstPhrasePage(const std::vector<DictionaryLine>& lines,
                                         std::uint16_t code) {
    return FirstPhrases(lines, code, kPhrasesPerPage);
}

std::vector<std::string> SpokenSyllables(const std::string& pinyin) {
    const std::string text = pinyin.substr(0, 64);
    std::vector<std::string> syllables;
    std::size_t start = 0;
    while (syllables.size() < 3 && start <= text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        syllables.push_back(text.substr(start, end - start));
        if (end >= text.size()) break;
        start = end + 1;
    }
    return syllables;
}

std::size_t CardLine(const std::vector<DictionaryLine>& lines, std::uint16_t code) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].word.size() == 2 && GbCodeAt(lines[i].word, 0) == code) return i;
    }
    return lines.size();
}
