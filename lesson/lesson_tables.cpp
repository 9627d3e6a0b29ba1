#include "lesson/lesson_tables.h"

namespace {

LessonTables& Shown() {
    static LessonTables shown;
    return shown;
}

}  // namespace

const LessonTables& ShownLesson() {
    return Shown();
}

void ShowLesson(const LessonTables& lesson) {
    Shown() = lesson;
}
