// Assembling dat/zw.dat and the built-in tables that describe it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "glyph/char_index.h"
#include "lesson/voice_directory.h"

// The lesson characters in slot order (大 家 学 中 文).
inline constexpr std::array<std::uint16_t, 5> kLessonCodes = {0xB4F3, 0xBCD2, 0xD1A7, 0xD6D0,
                                                              0xCEC4};
inline constexpr std::size_t kVoiceBudget = 662038 - 3664;  // 658,374 bytes

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

// Lays out the file: outline records scrambled back to back from 0, the
// encrypted stroke-order records at 3504, the scrambled recordings from 3664,
// zeros up to 662038, then the stored dictionary lines (each with its newline).
// Throws std::runtime_error when a section does not fit its place.
LessonData AssembleLessonData(const std::vector<PlainOutline>& outlines,
                              const std::vector<PlainVoice>& voices,
                              const std::vector<std::string>& storedLines);

// C++ source defining CharIndexTable and VoiceDirectory.
std::string LessonTablesSource(const LessonData& data, const std::vector<PlainOutline>& outlines,
                               const std::vector<PlainVoice>& voices);
