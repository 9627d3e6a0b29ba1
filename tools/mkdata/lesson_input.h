// The lesson a teacher asks for: five different characters of GB2312's hanzi,
// given as UTF-8 text ("大家学中文").
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/mkdata/frequency.h"

inline constexpr const char* kDefaultLesson = "大家学中文";

struct LessonInput {
    std::vector<std::string> characters;  // UTF-8, slot order
    std::vector<std::uint16_t> codes;     // GB codes, slot order
};

// Throws std::runtime_error, with a message that names what is wrong, for a
// text that is not exactly five characters, repeats one, or holds one that
// is not a GB2312 hanzi.
LessonInput ParseLesson(const std::string& utf8);

// The lesson's folder and package name, one for each lesson: the five numbered
// readings, lower case, ü as v, joined by '-' ("lao3-shi1-shuo1-han4-yu3"). A
// character that is not the commonest GB2312 hanzi of its reading (by counts,
// then code) adds 'u' and its code point, as 架 in "da3-jia4u67b6-xue2-zhong1-wen2",
// so that homophones never share a name.
// readings: character -> numbered reading ("lao3"); throws when one is missing.
std::string LessonSlug(const LessonInput& lesson,
                       const std::map<std::string, std::string>& readings,
                       const WordCounts& counts);
