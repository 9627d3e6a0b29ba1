// The lesson data file dat/zw.dat: its map and whole-range reads.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lesson_file {

inline constexpr const char* kPath = "dat/zw.dat";
inline constexpr const char* kFontPath = "dat/hzk24k.dat";

inline constexpr std::uint32_t kOutlineOffset = 0;         // outline blobs, back to back
inline constexpr std::uint32_t kStrokeOrderOffset = 3504;  // five 32-byte DES records
inline constexpr std::uint32_t kStrokeOrderRecordSize = 32;
inline constexpr std::uint32_t kStrokeOrderRecords = 5;
inline constexpr std::uint32_t kVoiceOffset = 3664;         // WAV images, back to back
inline constexpr std::uint32_t kDictionaryOffset = 662038;  // scrambled text lines to the end

static_assert(kVoiceOffset == kStrokeOrderOffset + kStrokeOrderRecords * kStrokeOrderRecordSize);

inline constexpr std::uint32_t kOutlineSectionSize = kStrokeOrderOffset - kOutlineOffset;
inline constexpr std::uint32_t kVoiceSectionSize = kDictionaryOffset - kVoiceOffset;

// The lesson characters (GB codes) in slot order, 大 家 学 中 文 in the
// default lesson. Their outlines lie in this order, and slot i holds the
// stroke-order record of the i-th; the main window shows them in this order.
// Built into the program with the lesson's other tables (tools/mkdata
// generates them with dat/zw.dat).
using LessonCodes = std::array<std::uint16_t, kStrokeOrderRecords>;
extern const LessonCodes kLessonCodes;

enum class ReadStatus { Ok, CannotOpen, Short };

struct ReadResult {
    ReadStatus status = ReadStatus::CannotOpen;
    std::vector<std::uint8_t> bytes;  // exactly the requested length when status is Ok
};

// Opens path, seeks to offset from the start, reads length bytes, closes the file.
// Short when the file ends before offset + length.
ReadResult ReadRange(const std::string& path, std::uint64_t offset, std::size_t length);

}  // namespace lesson_file
