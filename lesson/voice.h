// The pronunciation player: a syllable's recording from the voice section of
// dat/zw.dat, played synchronously.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "lesson/voice_directory.h"

inline constexpr const char* kVoiceNotFoundMessage = "not found the voice";
inline constexpr const char* kFileOpenErrorMessage = "file open error";
inline constexpr const char* kVoiceDamagedMessage = "voice data damaged";
inline constexpr int kFileOpenErrorStatus = 1;

struct VoiceLocation {
    bool found = false;
    std::int64_t offset = 0;  // from the start of the voice section
    std::int32_t length = 0;
};

// Looks name up in a working copy of directory: the running offset is the sum
// of the recording lengths of the entries before the match.
VoiceLocation FindVoice(std::span<const VoiceEntry> directory, const std::string& name);

enum class VoiceReadStatus { Ok, CannotOpen, Damaged };

struct VoiceRecording {
    VoiceReadStatus status = VoiceReadStatus::CannotOpen;
    std::vector<std::uint8_t> image;  // the descrambled WAV image, when Ok
};

// Reads and descrambles a recording. Damaged: the file ends before the
// recording does, or the bytes are not a valid WAV image.
VoiceRecording ReadVoiceRecording(const std::string& path, const VoiceLocation& at);

// PlayVoice over a directory and a file. Returns 1 when the recording was
// found and played, 0 otherwise. A file that cannot be opened shows
// "file open error" and ends the process with status 1.
int PlayVoice(const std::string& name, std::span<const VoiceEntry> directory,
              const std::string& path);
// The voices of the shown lesson (lesson/lesson_tables.h): the built-in
// VoiceDirectory and dat/zw.dat until another is shown.
int PlayVoice(const std::string& name);
