// Synchronous playback of a WAV image from memory through SDL audio.
#pragma once

#include <cstdint>
#include <span>

// Plays the image and returns when it has finished. Without an audio device,
// or for an image SDL cannot read, it plays nothing and returns at once.
void PlayWavSync(std::span<const std::uint8_t> image);
