#include "tools/mkdata/phrase_page.h"

#include <set>

#include "tools/mkdata/gb2312.h"

bool QualifiesAsPhrase(const std::string& gbWord, std::uint16_t code) {
    // The word slot as RecordWord leaves it: the word, then its terminator.
    char word[kWordBufferSize] = {};
    gbWord.copy(word, kWordBufferSize - 1);
    const char character[2] = {static_cast<char>(code >> 8u), static_cast<char>(code & 0xFFu)};
    return QualifiesAsPhrase(word, character);
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

std::size_t CardLine(const std::vector<DictionaryLine>& lines, std::uint16_t code) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].word.size() == 2 && GbCodeAt(lines[i].word, 0) == code) return i;
    }
    return lines.size();
}

std::vector<std::string> RepeatedPhrases(const std::vector<DictionaryLine>& lines,
                                         std::uint16_t code, std::size_t count) {
    std::set<std::string> words;
    std::vector<std::string> again;  // repeats that so far no new word has followed
    std::vector<std::string> repeated;
    for (std::size_t i : FirstPhrases(lines, code, count)) {
        if (!words.insert(lines[i].word).second) {
            again.push_back(lines[i].utf8Word);
        } else {
            repeated.insert(repeated.end(), again.begin(), again.end());
            again.clear();
        }
    }
    return repeated;
}
