// Stream descrambling of the outline blobs and voice recordings. It uses only
// the low byte of the scramble key entries, as the dictionary's line
// descrambling does (data/dictionary.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

inline constexpr int kOutlineFirstKeyIndex = 33;
inline constexpr int kVoiceFirstKeyIndex = 0;

// XORs byte i with the low byte of key[k] * key[k], k running from firstKeyIndex
// and wrapping from 271 to 0. Its own inverse: the same call scrambles.
void DescrambleStream(std::uint8_t* buffer, std::size_t length, int firstKeyIndex);
