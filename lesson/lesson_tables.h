// The lesson the main window shows: the tables built into the program for it
// and the file they describe. A program of many lessons switches between them.
#pragma once

#include <array>

#include "data/lesson_file.h"
#include "glyph/char_index.h"
#include "lesson/voice_directory.h"

// The tables of the lesson the window shows, and the file they describe.
// The dictionary is not the lesson's: the card and the phrase search always
// read it from lesson_file::kPath.
struct LessonTables {
    const lesson_file::LessonCodes* codes = &lesson_file::kLessonCodes;
    const std::array<CharIndexEntry, kCharIndexEntries>* charIndex = &CharIndexTable;
    const std::array<VoiceEntry, kVoiceEntries>* voices = &VoiceDirectory;
    const char* path = lesson_file::kPath;  // its outlines, stroke orders and voices
};

// The built-in lesson until ShowLesson.
const LessonTables& ShownLesson();
// The card, the voices and the main window's buttons use lesson from now on;
// its tables must outlive their use.
void ShowLesson(const LessonTables& lesson);
