// The course a teacher writes: a UTF-8 text of lessons, five characters a
// line in teaching order, and its name and title.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/mkdata/lesson_input.h"

inline constexpr std::size_t kMaxCourseLessons = 100;
inline constexpr std::size_t kMaxCourseTitle = 60;

struct CourseLesson {
    std::size_t line = 0;  // from 1, in the course file
    std::string text;      // the line's five characters, UTF-8
    LessonInput lesson;
};

struct CourseInput {
    std::string name;   // [a-z0-9-]+, from the file's name: folder, command, package
    std::string title;  // the "title:" line's text, else the file's name without its ending
    std::vector<CourseLesson> lessons;
};

// The name a course file gives its course: the file name without folder and
// ending, lower case, every run of characters other than a-z and 0-9 one '-'
// ("My Course 2.txt" -> "my-course-2"); empty when nothing is left.
std::string CourseName(const std::string& path);

// Reads the course text: an optional first line "title: ..." (printable ASCII
// letters, digits, blanks and -',.:!?() up to kMaxCourseTitle characters),
// then one lesson a line (ParseLesson); blank lines and lines starting with
// '#' are skipped, blanks around a line ignored. A character may stand in
// several lessons. Throws std::runtime_error with the line and the reason
// ("line 4: a lesson is five characters, ...") for a text that is not UTF-8,
// a title elsewhere or not plain, a lesson that is not one, no lesson, more
// than kMaxCourseLessons lessons, or a file name that gives no name.
CourseInput ParseCourse(const std::string& text, const std::string& path);

// The lesson's menu text: "Lesson 3: chun xia qiu dong tian", its readings
// without tone numbers (ü for u: and v); readings: character -> "chun1".
std::string CourseMenuText(std::size_t number, const LessonInput& lesson,
                           const std::map<std::string, std::string>& readings);
