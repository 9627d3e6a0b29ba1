// The lesson a teacher asks for: five different characters of GB2312's hanzi,
// given as UTF-8 text ("大家学中文").
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

inline constexpr const char* kDefaultLesson = "大家学中文";

struct LessonInput {
    std::vector<std::string> characters;  // UTF-8, slot order
    std::vector<std::uint16_t> codes;     // GB codes, slot order
};

// Throws std::runtime_error, with a message that names what is wrong, for a
// text that is not exactly five characters, repeats one, or holds one that
// is not a GB2312 hanzi.
LessonInput ParseLesson(const std::string& utf8);

// The lesson's folder and package name: the five readings without tone
// numbers, lower case, ü as v, joined by '-' ("lao-shi-shuo-han-yu").
// readings: character -> numbered reading ("lao3"); throws when one is missing.
std::string LessonSlug(const LessonInput& lesson,
                       const std::map<std::string, std::string>& readings);
