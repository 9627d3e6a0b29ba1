// Recordings with a damaged sample rate are refused before they are played:
// a rate far below real ones kept the program in the player for minutes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "lesson/wav.h"

namespace {

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// 8-bit mono PCM of 1000 samples at rate.
std::vector<std::uint8_t> Wav(std::uint32_t rate) {
    std::vector<std::uint8_t> out;
    for (char c : std::string("RIFF")) out.push_back(static_cast<std::uint8_t>(c));
    PutU32(out, 36 + 1000);
    for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<std::uint8_t>(c));
    PutU32(out, 16);
    PutU16(out, 1);
    PutU16(out, 1);
    PutU32(out, rate);
    PutU32(out, rate);
    PutU16(out, 1);
    PutU16(out, 8);
    for (char c : std::string("data")) out.push_back(static_cast<std::uint8_t>(c));
    PutU32(out, 1000);
    out.resize(out.size() + 1000, 0x80);
    return out;
}

TEST(WavRate, RatesOfRealRecordingsAreAccepted) {
    for (std::uint32_t rate : {8000u, 11025u, 16000u, 22050u, 44100u, 48000u, 192000u}) {
        const auto info = ParseWav(Wav(rate));
        ASSERT_TRUE(info.has_value()) << rate;
        EXPECT_EQ(info->sampleRate, rate);
    }
}

TEST(WavRate, DamagedRatesAreRefused) {
    for (std::uint32_t rate : {0u, 1u, 30u, 7999u, 192001u, 0x40000001u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(ParseWav(Wav(rate)).has_value()) << rate;
    }
}

}  // namespace
