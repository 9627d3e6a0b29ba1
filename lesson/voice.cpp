#include "lesson/voice.h"

#include <cstring>

#include "app/runtime/runtime.h"
#include "data/descramble.h"
#include "data/lesson_file.h"
#include "lesson/lesson_tables.h"
#include "lesson/sound.h"
#include "lesson/wav.h"

VoiceLocation FindVoice(std::span<const VoiceEntry> directory, const std::string& name) {
    VoiceLocation at;
    std::vector<VoiceEntry> copy(directory.begin(), directory.end());
    for (VoiceEntry& entry : copy) {
        UnscrambleVoiceName(entry);
        const char* entryName = reinterpret_cast<const char*>(entry.name);
        const std::string plain(entryName, strnlen(entryName, sizeof entry.name));
        const std::int32_t length = VoiceRecordingLength(entry);
        if (name.size() <= kMaxVoiceName && std::strcmp(name.c_str(), plain.c_str()) == 0) {
            at.found = true;
            at.length = length;
            return at;
        }
        at.offset += length;
    }
    return at;
}

VoiceRecording ReadVoiceRecording(const std::string& path, const VoiceLocation& at) {
    VoiceRecording recording;
    if (at.length <= 0 || at.offset < 0) {
        recording.status = VoiceReadStatus::Damaged;
        return recording;
    }
    lesson_file::ReadResult read = lesson_file::ReadRange(
        path, lesson_file::kVoiceOffset + static_cast<std::uint64_t>(at.offset),
        static_cast<std::size_t>(at.length));
    if (read.status == lesson_file::ReadStatus::CannotOpen) return recording;
    recording.status = VoiceReadStatus::Damaged;
    if (read.status != lesson_file::ReadStatus::Ok) return recording;
    DescrambleStream(read.bytes.data(), read.bytes.size(), kVoiceFirstKeyIndex);
    if (!ParseWav(read.bytes)) return recording;
    recording.status = VoiceReadStatus::Ok;
    recording.image = std::move(read.bytes);
    return recording;
}

int PlayVoice(const std::string& name, std::span<const VoiceEntry> directory,
              const std::string& path) {
    const VoiceLocation at = FindVoice(directory, name);
    if (!at.found) {
        ShowMessage(kVoiceNotFoundMessage);
        return 0;
    }
    VoiceRecording recording = ReadVoiceRecording(path, at);
    switch (recording.status) {
        case VoiceReadStatus::CannotOpen:
            ShowMessage(kFileOpenErrorMessage);
            ExitProgram(kFileOpenErrorStatus);
            return 0;
        case VoiceReadStatus::Damaged:
            ShowMessage(kVoiceDamagedMessage);
            return 0;
        case VoiceReadStatus::Ok:
            break;
    }
    PlayWavSync(recording.image);
    return 1;
}

int PlayVoice(const std::string& name) {
    const LessonTables& lesson = ShownLesson();
    return PlayVoice(name, *lesson.voices, lesson.path);
}
