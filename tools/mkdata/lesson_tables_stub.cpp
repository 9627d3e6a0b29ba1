#include "glyph/char_index.h"
#include "lesson/voice_directory.h"

const std::array<CharIndexEntry, kCharIndexEntries> CharIndexTable{};
const std::array<VoiceEntry, kVoiceEntries> VoiceDirectory{};
