#include "lesson/sound.h"

#include <SDL.h>

#include <algorithm>

namespace {

// Audio opens at the first playback, and again after it has been closed; a
// failure to open it is not retried.
bool AudioReady() {
    static bool failed = false;
    if (SDL_WasInit(SDL_INIT_AUDIO) != 0) return true;
    if (failed) return false;
    failed = SDL_InitSubSystem(SDL_INIT_AUDIO) != 0;
    return !failed;
}

}  // namespace

void PlayWavSync(std::span<const std::uint8_t> image) {
    if (image.empty() || !AudioReady()) return;
    SDL_RWops* rw = SDL_RWFromConstMem(image.data(), static_cast<int>(image.size()));
    if (rw == nullptr) return;
    SDL_AudioSpec spec;
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV_RW(rw, 1, &spec, &samples, &length) == nullptr) return;

    // The device takes the recording's own format, so the samples reach it unchanged.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &spec, nullptr, 0);
    if (device != 0) {
        const Uint32 bytesPerSecond =
            spec.freq * spec.channels * (SDL_AUDIO_BITSIZE(spec.format) / 8U);
        const Uint32 durationMs =
            bytesPerSecond == 0
                ? 0
                : static_cast<Uint32>(std::uint64_t{length} * 1000 / bytesPerSecond);
        if (SDL_QueueAudio(device, samples, length) == 0) {
            SDL_PauseAudioDevice(device, 0);
            // Bounded by the sound's duration and a margin, whatever the device does;
            // the device's time, on SDL's ticks, not the program's clock.
            const Uint64 deadline = SDL_GetTicks64() + durationMs + 1000;
            while (SDL_GetQueuedAudioSize(device) > 0 && SDL_GetTicks64() < deadline) SDL_Delay(5);
            // Let the device play out what it has taken from the queue.
            const Uint32 bufferMs =
                spec.freq == 0
                    ? 0
                    : static_cast<Uint32>(std::uint64_t{spec.samples} * 1000 / spec.freq);
            SDL_Delay(std::min<Uint32>(bufferMs + 20, 500));
        }
        SDL_CloseAudioDevice(device);
    }
    SDL_FreeWAV(samples);
}
