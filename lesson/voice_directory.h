// The voice directory: one entry per recording of the voice section, in the
// order the recordings lie there. Names are stored XORed with a key taken
// from the length code; the length code is the length times a divisor taken
// from the name's length.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

struct VoiceEntry {
    std::uint8_t name[8] = {};  // scrambled, zero-terminated, byte 7 always zero
    std::int32_t lengthCode = 0;
};

inline constexpr int kVoiceEntries = 26;
inline constexpr int kMaxVoiceName = 7;

// Built into the program; generated together with dat/zw.dat.
extern const std::array<VoiceEntry, kVoiceEntries> VoiceDirectory;

// The name key: lengthCode % 4 (signed remainder), or 4 when that is 0.
std::uint8_t VoiceNameKey(std::int32_t lengthCode);
// The length divisor of a name of n characters: (7 * n) % 9, or 9 when 0.
std::int32_t VoiceLengthDivisor(std::size_t nameLength);
// Unscrambles entry.name in place: byte 0 always, bytes 1-6 when not zero.
void UnscrambleVoiceName(VoiceEntry& entry);
// Recording length of an entry whose name is already unscrambled.
std::int32_t VoiceRecordingLength(const VoiceEntry& entry);
// The stored entry for a plain name (1-7 bytes) and a recording length.
VoiceEntry EncodeVoiceEntry(const std::string& name, std::int32_t length);
