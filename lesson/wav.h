// Checking a WAV image before it is played.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

struct WavInfo {
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t bitsPerSample = 0;
    std::size_t dataOffset = 0;  // the samples within the image
    std::size_t dataLength = 0;
};

// A RIFF/WAVE image of uncompressed PCM (8 or 16 bits, 1 or 2 channels, 8000 to
// 192000 samples a second) whose chunks all lie within the image; nothing for
// anything else.
std::optional<WavInfo> ParseWav(std::span<const std::uint8_t> image);
