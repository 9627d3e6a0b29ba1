#include "tools/mkdata/lesson_input.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "tools/mkdata/gb2312.h"
#include "tools/mkdata/source_text.h"

LessonInput ParseLesson(const std::string& utf8) {
    std::vector<std::string> characters;
    for (char32_t code : DecodeUtf8(utf8)) characters.push_back(EncodeUtf8(code));
    if (characters.size() != 5)
        throw std::runtime_error("a lesson is five characters, \"" + utf8 + "\" has " +
                                 std::to_string(characters.size()));
    LessonInput lesson;
    for (const std::string& c : characters) {
        if (std::count(characters.begin(), characters.end(), c) > 1)
            throw std::runtime_error(c + " stands twice in \"" + utf8 +
                                     "\": a lesson is five different characters");
        const auto gb = Gb2312Hanzi(c);
        if (!gb || gb->size() != 2)
            throw std::runtime_error("\"" + c +
                                     "\" is not one of the 6,763 common simplified characters "
                                     "(GB2312) that the program's font draws");
        lesson.characters.push_back(c);
        lesson.codes.push_back(GbCodeAt(*gb, 0));
    }
    return lesson;
}

std::string LessonSlug(const LessonInput& lesson,
                       const std::map<std::string, std::string>& readings) {
    std::string slug;
    for (const std::string& c : lesson.characters) {
        const auto reading = readings.find(c);
        if (reading == readings.end()) throw std::runtime_error(c + " has no reading in Unihan");
        std::string syllable = reading->second;
        for (const std::string& u : {std::string("u:"), std::string("ü")})
            for (std::size_t at; (at = syllable.find(u)) != std::string::npos;)
                syllable.replace(at, u.size(), "v");
        if (!slug.empty()) slug += '-';
        for (char ch : syllable)
            if (std::isalpha(static_cast<unsigned char>(ch)))
                slug += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    return slug;
}
