// Assembling dat/zw.dat and the built-in tables that describe it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/lesson_file.h"
#include "glyph/char_index.h"
#include "lesson/voice_directory.h"

static_assert(lesson_file::kStrokeOrderRecords == kCharIndexEntries);
inline constexpr std::size_t kOutlineBudget = lesson_file::kOutlineSectionSize;  // 3,504 bytes
inline constexpr std::size_t kVoiceBudget = lesson_file::kVoiceSectionSize;      // 658,374 bytes

struct PlainOutline {
    std::uint16_t code = 0;
    std::vector<std::uint8_t> record;       // unscrambled
    std::vector<std::uint8_t> strokeOrder;  // step -> contour from 1
};

struct PlainVoice {
    std::string name;
    std::vector<std::uint8_t> wav;  // unscrambled
};

struct LessonData {
    std::vector<std::uint8_t> file;
    std::array<CharIndexEntry, kCharIndexEntries> charIndex{};
    std::array<VoiceEntry, kVoiceEntries> voiceDirectory{};
};

// Lays out the file by the program's map (data/lesson_file.h): outline records
// scrambled back to back from kOutlineOffset, the encrypted stroke-order records
// at kStrokeOrderOffset, the scrambled recordings from kVoiceOffset, zeros up to
// kDictionaryOffset, then the stored dictionary lines (each with its newline).
// Throws std::runtime_error when a section does not fit its place.
LessonData AssembleLessonData(const std::vector<PlainOutline>& outlines,
                              const std::vector<PlainVoice>& voices,
                              const std::vector<std::string>& storedLines);

// C++ source defining kLessonCodes, CharIndexTable and VoiceDirectory.
std::string LessonTablesSource(const LessonData& data, const std::vector<PlainOutline>& outlines,
                               const std::vector<PlainVoice>& voices);

// A C++ string literal of text: printable ASCII as it is, every other byte
// (and '"', '\\', '?') as an octal escape.
std::string CLiteral(const std::string& text);

// One lesson of a course: its head and what it was made from, the file
// holding the head, its help file and its menu text.
struct CourseTables {
    const LessonData* head = nullptr;
    const std::vector<PlainOutline>* outlines = nullptr;
    const std::vector<PlainVoice>* voices = nullptr;
    std::string path;      // "dat/zw.dat", "dat/zw-002.dat", ...
    std::string helpFile;  // "tallowfern.chm", "help/lesson-002.chm", ...
    std::string menuText;  // "Lesson 2: ..."
};

// C++ source defining the first lesson's built-in tables (as LessonTablesSource)
// and kCourse (app/course.h): every lesson's tables, file, help file and menu text.
std::string CourseTablesSource(const std::string& title, const std::string& name,
                               const std::vector<CourseTables>& lessons);
