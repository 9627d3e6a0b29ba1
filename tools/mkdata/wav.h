// Canonical 44-byte-header PCM WAV images (RIFF/WAVE, mono).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

inline constexpr std::size_t kWavHeaderSize = 44;

// The image of mono PCM samples in [-1, 1] at sampleRate, 16-bit signed or
// 8-bit unsigned, rounded to the nearest step (no dither). An 8-bit image of an
// odd sample count drops the last sample so that the data chunk stays even.
std::vector<std::uint8_t> MakeWav(const std::vector<float>& samples, std::uint32_t sampleRate,
                                  int bitsPerSample);

struct WavFigures {
    std::uint32_t sampleRate = 0;
    int bitsPerSample = 0;
    std::uint32_t frames = 0;
    double seconds = 0;
    double rmsDb = 0;   // dBFS
    double peakDb = 0;  // dBFS
};

// Checks that bytes are a WAV image the program's ParseWav plays and exactly
// one canonical mono image: the RIFF size matching, one 16-byte "fmt " chunk
// with a consistent byte rate and block size, "data" holding the rest.
// Returns its figures, or nullopt with the reason in error.
std::optional<WavFigures> InspectWav(std::span<const std::uint8_t> bytes, std::string& error);
