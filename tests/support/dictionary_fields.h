// The fields the program reads from a plain dictionary line.
#pragma once

#include <string>

struct Fields {
    std::string word, pinyin, meaning, display;
};

// The word, pinyin and meaning of the line by the column rules, and the
// meaning as the card shows it.
Fields FieldsOf(const char* line);
