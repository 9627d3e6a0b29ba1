// The libFuzzer build compiles no generated lesson tables: the player's
// built-in lesson is linked but never used, the fuzzers pass their own.
#include "data/lesson_file.h"
#include "glyph/char_index.h"
#include "lesson/voice_directory.h"

const lesson_file::LessonCodes lesson_file::kLessonCodes = {};
const std::array<CharIndexEntry, kCharIndexEntries> CharIndexTable = {};
const std::array<VoiceEntry, kVoiceEntries> VoiceDirectory = {};
