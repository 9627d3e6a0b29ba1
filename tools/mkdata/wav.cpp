#include "tools/mkdata/wav.h"

#include <algorithm>
#include <cmath>

#include "data/byte_reader.h"
#include "data/byte_writer.h"
#include "lesson/wav.h"
#include "tools/mkdata/pitch.h"

std::vector<std::uint8_t> MakeWav(const std::vector<float>& samples, std::uint32_t sampleRate,
                                  int bitsPerSample) {
    const std::uint32_t bytesPerSample = bitsPerSample == 8 ? 1 : 2;
    std::size_t frames = samples.size();
    if (bytesPerSample == 1 && frames % 2 != 0) --frames;
    const auto dataSize = static_cast<std::uint32_t>(frames * bytesPerSample);
    std::vector<std::uint8_t> out;
    out.reserve(kWavHeaderSize + dataSize);
    PutTag(out, "RIFF");
    PutU32(out, 36 + dataSize);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutU32(out, 16);
    PutU16(out, 1);  // PCM
    PutU16(out, 1);  // mono
    PutU32(out, sampleRate);
    PutU32(out, sampleRate * bytesPerSample);
    PutU16(out, static_cast<std::uint16_t>(bytesPerSample));
    PutU16(out, static_cast<std::uint16_t>(bitsPerSample == 8 ? 8 : 16));
    PutTag(out, "data");
    PutU32(out, dataSize);
    for (std::size_t i = 0; i < frames; ++i) {
        const double s = std::clamp(static_cast<double>(samples[i]), -1.0, 1.0);
        if (bytesPerSample == 1) {
            out.push_back(
                static_cast<std::uint8_t>(std::clamp(std::lround(s * 127.0) + 128, 0L, 255L)));
        } else {
            const long v = std::clamp(std::lround(s * 32767.0), -32768L, 32767L);
            PutU16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(v)));
        }
    }
    return out;
}

std::optional<WavFigures> InspectWav(std::span<const std::uint8_t> bytes, std::string& error) {
    const auto wav = ParseWav(bytes);
    if (!wav) return error = "not a WAV image the program plays", std::nullopt;
    // The canonical layout on top: one 16-byte "fmt " chunk, then "data" to the end.
    ByteReader r(bytes);
    r.Skip(4);
    const auto riffSize = r.U32();
    if (!riffSize || *riffSize != bytes.size() - 8)
        return error = "RIFF size does not match", std::nullopt;
    if (wav->dataOffset != kWavHeaderSize) return error = "no data chunk at 36", std::nullopt;
    if (wav->dataLength != bytes.size() - kWavHeaderSize)
        return error = "data size does not match the image", std::nullopt;
    if (wav->channels != 1) return error = "not mono", std::nullopt;
    const std::uint32_t width = wav->bitsPerSample / 8u;
    r.Seek(28);  // byte rate, block align
    const auto byteRate = r.U32();
    const auto blockAlign = r.U16();
    if (!r.ok() || *blockAlign != width || *byteRate != wav->sampleRate * width)
        return error = "inconsistent rate or block size", std::nullopt;
    if (wav->dataLength == 0 || wav->dataLength % width != 0)
        return error = "data size does not match the image", std::nullopt;
    const auto data = bytes.subspan(wav->dataOffset, wav->dataLength);

    WavFigures info;
    info.sampleRate = wav->sampleRate;
    info.bitsPerSample = wav->bitsPerSample;
    info.frames = static_cast<std::uint32_t>(wav->dataLength / width);
    info.seconds = static_cast<double>(info.frames) / info.sampleRate;
    double sum = 0;
    double peak = 0;
    for (std::uint32_t i = 0; i < info.frames; ++i) {
        double s;
        if (width == 1) {
            s = (data[i] - 128.0) / 128.0;
        } else {
            const auto raw = static_cast<std::int16_t>(data[2 * i] | (data[2 * i + 1] << 8));
            s = raw / 32768.0;
        }
        sum += s * s;
        peak = std::max(peak, std::abs(s));
    }
    info.rmsDb = Dbfs(std::sqrt(sum / info.frames));
    info.peakDb = Dbfs(peak);
    return info;
}
