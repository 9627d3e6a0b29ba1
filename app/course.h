// A course: many lessons in one program, chosen from the Lesson menu. The
// course's program remembers the lesson chosen last and opens there.
#pragma once

#include <functional>
#include <span>

#include "lesson/lesson_tables.h"

class TForm1;

struct CourseLesson {
    LessonTables tables;
    const char* helpFile;  // opened by Help › Help Topic while the lesson is shown
    const char* menuText;  // "Lesson 3: chun xia qiu dong tian" (ASCII/UTF-8 pinyin, no hanzi)
};

struct Course {
    const char* title = nullptr;  // plain ASCII, e.g. "First lessons"
    const char* name = nullptr;   // [a-z0-9-]+, e.g. "first-lessons"; names the settings file
    std::span<const CourseLesson> lessons;
};

// The course of a course's program, generated with its tables (app/course_main.cpp).
extern const Course kCourse;

// Runs the program of a course (like RunProgram in app/program.h): the window
// shows the lesson chosen last. started, if given, runs once the windows
// exist, before the event loop.
int RunCourse(int argc, char** argv, const Course& course,
              const std::function<void()>& started = {});

// The number (1-based) of the lesson chosen last, from the course's settings
// file (INI, user scope, TallowFern/course-<name>, key "lesson"); 1 when it
// holds none or not the number of one of the course's lessons.
int RememberedLesson(const Course& course);

// Gives form the course's lessons in place of the Lesson menu's volumes and
// shows lesson number (1-based) as the program starts with it. Choosing a
// lesson from the menu shows it and remembers it.
void OpenCourse(TForm1& form, const Course& course, int number);
