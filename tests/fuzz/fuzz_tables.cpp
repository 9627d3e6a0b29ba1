// The libFuzzer build compiles no generated lesson tables: the player's
// built-in directory is linked but never used, the fuzzers pass their own.
#include "lesson/voice_directory.h"

const std::array<VoiceEntry, kVoiceEntries> VoiceDirectory = {};
