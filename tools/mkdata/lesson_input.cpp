#include "tools/mkdata/lesson_input.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
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

namespace {

// Reading -> the commonest GB2312 hanzi read so (the lowest code among equals).
std::map<std::string, std::string> CommonestOfReadings(
    const std::map<std::string, std::string>& readings, const WordCounts& counts) {
    std::map<std::string, std::pair<long long, std::string>> commonest;
    for (unsigned high = 0xB0; high <= 0xF7; ++high) {
        for (unsigned low = 0xA1; low <= 0xFE; ++low) {
            const std::string c = Gb2312Utf8(static_cast<std::uint16_t>(high * 256 + low));
            const auto reading = readings.find(c);
            if (c.empty() || reading == readings.end()) continue;
            const auto count = counts.find(c);
            const long long n = count == counts.end() ? 0 : count->second;
            const auto [at, added] = commonest.try_emplace(reading->second, n, c);
            if (!added && n > at->second.first) at->second = {n, c};
        }
    }
    std::map<std::string, std::string> out;
    for (const auto& [reading, best] : commonest) out[reading] = best.second;
    return out;
}

}  // namespace

std::string LessonSlug(const LessonInput& lesson,
                       const std::map<std::string, std::string>& readings,
                       const WordCounts& counts) {
    const auto commonest = CommonestOfReadings(readings, counts);
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
            if (std::isalnum(static_cast<unsigned char>(ch)))
                slug += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        if (commonest.at(reading->second) != c) {
            char mark[16];
            std::snprintf(mark, sizeof mark, "u%04x", static_cast<unsigned>(DecodeUtf8(c).front()));
            slug += mark;
        }
    }
    return slug;
}
