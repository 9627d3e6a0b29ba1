#include "lesson/voice_directory.h"

#include <cstring>

std::uint8_t VoiceNameKey(std::int32_t lengthCode) {
    const std::int32_t r = lengthCode % 4;
    return static_cast<std::uint8_t>(r == 0 ? 4 : r);
}

std::int32_t VoiceLengthDivisor(std::size_t nameLength) {
    const auto d = static_cast<std::int32_t>((7 * nameLength) % 9);
    return d == 0 ? 9 : d;
}

void UnscrambleVoiceName(VoiceEntry& entry) {
    const std::uint8_t key = VoiceNameKey(entry.lengthCode);
    entry.name[0] ^= key;
    for (int i = 1; i <= 6; ++i) {
        if (entry.name[i] != 0) entry.name[i] ^= key;
    }
}

std::int32_t VoiceRecordingLength(const VoiceEntry& entry) {
    const std::size_t n = strnlen(reinterpret_cast<const char*>(entry.name), sizeof entry.name);
    return entry.lengthCode / VoiceLengthDivisor(n);
}

VoiceEntry EncodeVoiceEntry(const std::string& name, std::int32_t length) {
    VoiceEntry entry;
    entry.lengthCode = length * VoiceLengthDivisor(name.size());
    const std::uint8_t key = VoiceNameKey(entry.lengthCode);
    for (std::size_t i = 0; i < name.size() && i < kMaxVoiceName; ++i) {
        entry.name[i] = static_cast<std::uint8_t>(name[i]) ^ key;
    }
    return entry;
}
