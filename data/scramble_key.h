// The 272-entry scramble key shared by the program and the lesson data file.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int kScrambleKeySize = 272;

extern const std::array<std::int32_t, kScrambleKeySize> ScrambleKey;
