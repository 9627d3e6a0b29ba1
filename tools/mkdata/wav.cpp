#include "tools/mkdata/wav.h"

#include <algorithm>
#include <cmath>

#include "data/byte_reader.h"

namespace {

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

bool Tag(ByteReader& r, const char* tag) {
    const auto bytes = r.Bytes(4);
    return bytes && std::equal(bytes->begin(), bytes->end(), tag);
}

double Db(double amplitude) {
    return amplitude > 0 ? 20.0 * std::log10(amplitude) : -120.0;
}

}  // namespace

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
    ByteReader r(bytes);
    if (!Tag(r, "RIFF")) return error = "no RIFF tag", std::nullopt;
    const auto riffSize = r.U32();
    if (!riffSize || *riffSize != bytes.size() - 8)
        return error = "RIFF size does not match", std::nullopt;
    if (!Tag(r, "WAVE")) return error = "no WAVE tag", std::nullopt;
    if (!Tag(r, "fmt ")) return error = "no fmt chunk at 12", std::nullopt;
    const auto fmtSize = r.U32();
    const auto format = r.U16();
    const auto channels = r.U16();
    const auto rate = r.U32();
    const auto byteRate = r.U32();
    const auto blockAlign = r.U16();
    const auto bits = r.U16();
    if (!r.ok() || *fmtSize != 16) return error = "fmt chunk is not 16 bytes", std::nullopt;
    if (*format != 1) return error = "not PCM", std::nullopt;
    if (*channels != 1) return error = "not mono", std::nullopt;
    if (*bits != 8 && *bits != 16) return error = "not 8 or 16 bits", std::nullopt;
    const std::uint32_t width = *bits / 8u;
    if (*blockAlign != width || *byteRate != *rate * width || *rate == 0)
        return error = "inconsistent rate or block size", std::nullopt;
    if (!Tag(r, "data")) return error = "no data chunk at 36", std::nullopt;
    const auto dataSize = r.U32();
    if (!dataSize || *dataSize != r.remaining() || *dataSize % width != 0 || *dataSize == 0)
        return error = "data size does not match the image", std::nullopt;
    const auto data = r.Bytes(*dataSize);
    if (!data) return error = "short data", std::nullopt;

    WavFigures info;
    info.sampleRate = *rate;
    info.bitsPerSample = *bits;
    info.frames = *dataSize / width;
    info.seconds = static_cast<double>(info.frames) / *rate;
    double sum = 0;
    double peak = 0;
    for (std::uint32_t i = 0; i < info.frames; ++i) {
        double s;
        if (width == 1) {
            s = ((*data)[i] - 128.0) / 128.0;
        } else {
            const auto raw = static_cast<std::int16_t>((*data)[2 * i] | ((*data)[2 * i + 1] << 8));
            s = raw / 32768.0;
        }
        sum += s * s;
        peak = std::max(peak, std::abs(s));
    }
    info.rmsDb = Db(std::sqrt(sum / info.frames));
    info.peakDb = Db(peak);
    return info;
}
