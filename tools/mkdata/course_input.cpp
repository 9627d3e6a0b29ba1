#include "tools/mkdata/course_input.h"

#include <cctype>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "tools/mkdata/source_text.h"

namespace {

std::string Trimmed(const std::string& s) {
    const char* blanks = " \t\r\f\v";
    const std::size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

bool PlainTitle(const std::string& title) {
    if (title.empty() || title.size() > kMaxCourseTitle) return false;
    for (char c : title) {
        const auto u = static_cast<unsigned char>(c);
        if (!std::isalnum(u) && std::strchr(" -',.:!?()", c) == nullptr) return false;
    }
    return true;
}

}  // namespace

std::string CourseName(const std::string& path) {
    const std::string stem = std::filesystem::path(path).stem().string();
    std::string name;
    for (char c : stem) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80 && std::isalnum(u))
            name += static_cast<char>(std::tolower(u));
        else if (!name.empty() && name.back() != '-')
            name += '-';
    }
    while (!name.empty() && name.back() == '-') name.pop_back();
    return name;
}

CourseInput ParseCourse(const std::string& text, const std::string& path) {
    CourseInput course;
    course.name = CourseName(path);
    if (course.name.empty())
        throw std::runtime_error(
            "the file name \"" + std::filesystem::path(path).filename().string() +
            "\" gives the course no name: name the file with letters or digits, "
            "e.g. first-lessons.txt");
    course.title = std::filesystem::path(path).stem().string();
    bool titleGiven = false;
    std::size_t number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string raw = text.substr(start, end - start);
        ++number;
        start = end + 1;
        const std::string where = "line " + std::to_string(number) + ": ";
        try {
            DecodeUtf8(raw);
        } catch (const std::exception& e) {
            throw std::runtime_error(where + e.what());
        }
        const std::string line = Trimmed(raw);
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("title:", 0) == 0) {
            if (titleGiven || !course.lessons.empty())
                throw std::runtime_error(where + "the title comes once, before the lessons");
            const std::string title = Trimmed(line.substr(6));
            if (!PlainTitle(title))
                throw std::runtime_error(
                    where + "a title is 1 to " + std::to_string(kMaxCourseTitle) +
                    " plain letters, digits, blanks and -',.:!?() (it names menus and windows)");
            course.title = title;
            titleGiven = true;
            continue;
        }
        if (course.lessons.size() == kMaxCourseLessons)
            throw std::runtime_error(where + "a course has at most " +
                                     std::to_string(kMaxCourseLessons) + " lessons");
        try {
            course.lessons.push_back({number, line, ParseLesson(line)});
        } catch (const std::exception& e) {
            throw std::runtime_error(where + e.what());
        }
    }
    if (course.lessons.empty())
        throw std::runtime_error(
            "no lesson in the course: write one lesson a line, five characters");
    if (!PlainTitle(course.title)) course.title = course.name;
    return course;
}

std::string CourseMenuText(std::size_t number, const LessonInput& lesson,
                           const std::map<std::string, std::string>& readings) {
    std::string text = "Lesson " + std::to_string(number) + ":";
    for (const std::string& c : lesson.characters) {
        const auto reading = readings.find(c);
        if (reading == readings.end()) throw std::runtime_error(c + " has no reading in Unihan");
        std::string syllable;
        for (char ch : reading->second)
            if (std::isalpha(static_cast<unsigned char>(ch)) || ch == ':' ||
                static_cast<unsigned char>(ch) >= 0x80)
                syllable += ch;
        for (const char* u : {"u:", "v"})
            for (std::size_t at; (at = syllable.find(u)) != std::string::npos;)
                syllable.replace(at, std::strlen(u), "ü");
        text += " " + syllable;
    }
    return text;
}
