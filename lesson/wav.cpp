#include "lesson/wav.h"

#include <cstring>

#include "data/byte_reader.h"

namespace {

// Rates of real recordings. A damaged rate far below them would make playback
// (and the audio device's own pacing) last for minutes.
constexpr std::uint32_t kMinSampleRate = 8000;
constexpr std::uint32_t kMaxSampleRate = 192000;

bool Tag(ByteReader& reader, const char* tag) {
    const auto bytes = reader.Bytes(4);
    return bytes && std::memcmp(bytes->data(), tag, 4) == 0;
}

}  // namespace

std::optional<WavInfo> ParseWav(std::span<const std::uint8_t> image) {
    ByteReader reader(image);
    if (!Tag(reader, "RIFF")) return std::nullopt;
    const auto riffSize = reader.U32();
    if (!riffSize || *riffSize > image.size() - 8) return std::nullopt;
    if (!Tag(reader, "WAVE")) return std::nullopt;

    WavInfo info;
    bool haveFormat = false;
    while (reader.remaining() >= 8) {
        const auto id = reader.Bytes(4);
        const auto size = reader.U32();
        if (!id || !size || *size > reader.remaining()) return std::nullopt;
        const std::size_t chunkStart = reader.position();
        if (std::memcmp(id->data(), "fmt ", 4) == 0) {
            const auto format = reader.U16();
            const auto channels = reader.U16();
            const auto rate = reader.U32();
            reader.Skip(6);  // byte rate, block align
            const auto bits = reader.U16();
            if (!bits || *size < 16 || *format != 1) return std::nullopt;
            if (*channels < 1 || *channels > 2) return std::nullopt;
            if (*rate < kMinSampleRate || *rate > kMaxSampleRate) return std::nullopt;
            if (*bits != 8 && *bits != 16) return std::nullopt;
            info.channels = *channels;
            info.sampleRate = *rate;
            info.bitsPerSample = *bits;
            haveFormat = true;
        } else if (std::memcmp(id->data(), "data", 4) == 0) {
            if (!haveFormat) return std::nullopt;
            info.dataOffset = chunkStart;
            info.dataLength = *size;
            return info;
        }
        // Chunks are padded to an even length.
        const std::size_t next = chunkStart + *size + (*size & 1U);
        if (next > image.size() || !reader.Seek(next)) return std::nullopt;
    }
    return std::nullopt;
}
