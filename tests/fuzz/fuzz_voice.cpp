// The voice directory walk and the recording read on an arbitrary lesson file.
// Input: a byte of entry count (0-26), that many directory entries of 12 bytes
// (8 name bytes as stored, little-endian length code), a selector byte, and the
// file. Selector below the count: look up that entry's own name; otherwise a
// name of (selector & 7) bytes follows. Selector bit 7 clear: the file is the
// voice section behind zeroed outline and stroke-order sections; set: the
// file is the rest of the input as it is.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "data/descramble.h"
#include "data/lesson_file.h"
#include "lesson/voice.h"
#include "lesson/voice_directory.h"
#include "lesson/wav.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr std::size_t kEntryBytes = 12;

const std::string& LessonPath() {
    static const std::string path = [] {
        std::string folder = std::filesystem::temp_directory_path() / "tf-fuzz-voice-XXXXXX";
        FUZZ_CHECK(mkdtemp(folder.data()) != nullptr);
        return folder + "/zw.dat";
    }();
    return path;
}

std::string PlainName(VoiceEntry entry) {
    UnscrambleVoiceName(entry);
    const char* name = reinterpret_cast<const char*>(entry.name);
    return {name, strnlen(name, sizeof entry.name)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::size_t at = 0;
    if (size < 2) return 0;
    const std::size_t count =
        std::min<std::size_t>(data[at++] % (kVoiceEntries + 1), (size - 2) / kEntryBytes);
    std::vector<VoiceEntry> directory(count);
    for (VoiceEntry& entry : directory) {
        std::memcpy(entry.name, data + at, sizeof entry.name);
        std::uint32_t code = 0;
        for (int i = 0; i < 4; ++i) code |= std::uint32_t{data[at + 8 + i]} << (8 * i);
        entry.lengthCode = static_cast<std::int32_t>(code);
        at += kEntryBytes;
    }
    const std::uint8_t selector = data[at++];
    std::string name;
    if ((selector & 0x7F) < count) {
        name = PlainName(directory[selector & 0x7F]);
    } else {
        const std::size_t length = std::min<std::size_t>(selector & 7, size - at);
        name.assign(reinterpret_cast<const char*>(data + at), length);
        at += length;
    }

    // The header check alone, on the file's bytes as they are.
    if (const auto wav = ParseWav({data + at, size - at}))
        FUZZ_CHECK(wav->dataOffset + wav->dataLength <= size - at);

    std::FILE* file = std::fopen(LessonPath().c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    if ((selector & 0x80) == 0) {
        static const std::vector<char> zeros(lesson_file::kVoiceOffset);
        FUZZ_CHECK(std::fwrite(zeros.data(), 1, zeros.size(), file) == zeros.size());
    }
    FUZZ_CHECK(std::fwrite(data + at, 1, size - at, file) == size - at);
    FUZZ_CHECK(std::fclose(file) == 0);

    // The walk: the first entry of that name, behind the recordings before it.
    const VoiceLocation found = FindVoice(directory, name);
    std::int64_t offset = 0;
    bool expected = false;
    std::size_t i = 0;
    std::int32_t length = 0;
    for (; i < directory.size(); ++i) {
        VoiceEntry plain = directory[i];
        UnscrambleVoiceName(plain);
        length = VoiceRecordingLength(plain);
        // Names compare as zero-terminated strings; a name field has at most 7 bytes.
        if (PlainName(directory[i]) == name.c_str() && name.size() <= kMaxVoiceName) {
            expected = true;
            break;
        }
        offset += length;
    }
    FUZZ_CHECK(found.found == expected);
    if (!found.found) return 0;
    FUZZ_CHECK(found.offset == offset && found.length == length);

    const VoiceRecording recording = ReadVoiceRecording(LessonPath(), found);
    FUZZ_CHECK(recording.status != VoiceReadStatus::CannotOpen);
    if (recording.status != VoiceReadStatus::Ok) {
        FUZZ_CHECK(recording.image.empty());
        return 0;
    }
    // A good recording is exactly its bytes of the file, descrambled, and a valid WAV.
    FUZZ_CHECK(recording.image.size() == static_cast<std::size_t>(found.length));
    const auto wav = ParseWav(recording.image);
    FUZZ_CHECK(wav && wav->dataOffset + wav->dataLength <= recording.image.size());
    lesson_file::ReadResult stored = lesson_file::ReadRange(
        LessonPath(), lesson_file::kVoiceOffset + static_cast<std::uint64_t>(found.offset),
        static_cast<std::size_t>(found.length));
    FUZZ_CHECK(stored.status == lesson_file::ReadStatus::Ok);
    DescrambleStream(stored.bytes.data(), stored.bytes.size(), kVoiceFirstKeyIndex);
    FUZZ_CHECK(stored.bytes == recording.image);
    return 0;
}
