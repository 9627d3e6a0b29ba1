// Dictionary lines for the phrase and card tests, laid out in the record's columns.
#pragma once

#include <string>

namespace phrase_test {

inline const std::string kDa = "\xB4\xF3";     // 大
inline const std::string kXue = "\xD1\xA7";    // 学
inline const std::string kSheng = "\xC9\xFA";  // 生

// A GB2312 character from the first rows of hanzi, one for each index.
inline std::string Hanzi(int index) {
    const char bytes[] = {static_cast<char>(0xB0 + index / 94),
                          static_cast<char>(0xA1 + index % 94), 0};
    return bytes;
}

// A plain record: the word, "[pinyin]" from column 24, the meaning from column 89.
inline std::string Line(const std::string& word, const std::string& pinyin,
                        const std::string& meaning) {
    std::string line = word;
    line.resize(24, ' ');
    line += '[' + pinyin + ']';
    line.resize(88, ' ');
    line += ' ' + meaning;
    return line;
}

}  // namespace phrase_test
