#include "data/descramble.h"

#include <gtest/gtest.h>

#include <bitset>
#include <cstdint>
#include <random>
#include <set>
#include <vector>

#include "data/scramble_key.h"

namespace {

bool IsLineByte(unsigned byte) {
    return (byte >= 0x20 && byte <= 0x7E) || (byte >= 0xA1 && byte <= 0xFE);
}

// The pad byte at key index k: the low byte of the 32-bit square of the entry.
std::uint8_t Pad(int k) {
    const auto entry = static_cast<std::uint32_t>(ScrambleKey[k]);
    return static_cast<std::uint8_t>(entry * entry);
}

TEST(ScrambleKey, NoLineByteIsStoredAsNewline) {
    for (int column = 0; column <= 264; ++column) {
        const unsigned low = static_cast<std::uint32_t>(ScrambleKey[column]) & 0xFFu;
        for (unsigned plain = 0; plain < 256; ++plain) {
            if (!IsLineByte(plain)) continue;
            EXPECT_NE((plain - low) & 0xFFu, 0x0Au)
                << "column " << column << " plain byte " << plain;
        }
    }
}

TEST(ScrambleKey, EveryStreamPositionIsScrambled) {
    for (int k = 0; k < kScrambleKeySize; ++k) EXPECT_NE(Pad(k), 0) << k;
}

TEST(ScrambleKey, HighBitsLookRandom) {
    std::set<std::uint32_t> highs;
    std::array<int, 24> ones{};
    for (std::int32_t entry : ScrambleKey) {
        const std::uint32_t high = static_cast<std::uint32_t>(entry) >> 8;
        highs.insert(high);
        for (int bit = 0; bit < 24; ++bit) ones[bit] += (high >> bit) & 1u;
    }
    EXPECT_EQ(highs.size(), static_cast<std::size_t>(kScrambleKeySize));
    for (int bit = 0; bit < 24; ++bit) {
        // 272 fair coin flips: 136 +- 4.4 standard deviations.
        EXPECT_GT(ones[bit], 100) << "bit " << bit + 8;
        EXPECT_LT(ones[bit], 172) << "bit " << bit + 8;
    }
    std::set<std::uint8_t> lows;
    for (std::int32_t entry : ScrambleKey) lows.insert(static_cast<std::uint8_t>(entry));
    EXPECT_GT(lows.size(), 40u);
}

TEST(DescrambleStream, OutlineBlobWrapsToIndexZeroAtByte239) {
    std::vector<std::uint8_t> blob(600, 0);
    DescrambleStream(blob.data(), blob.size(), kOutlineFirstKeyIndex);
    EXPECT_EQ(blob[0], Pad(33));
    EXPECT_EQ(blob[238], Pad(271));
    EXPECT_EQ(blob[239], Pad(0));
    EXPECT_EQ(blob[240], Pad(1));
    EXPECT_EQ(blob[239 + 272], Pad(0)) << "second wrap";
}

TEST(DescrambleStream, RecordingWrapsToIndexZeroAtByte272) {
    std::vector<std::uint8_t> recording(600, 0);
    DescrambleStream(recording.data(), recording.size(), kVoiceFirstKeyIndex);
    EXPECT_EQ(recording[0], Pad(0));
    EXPECT_EQ(recording[271], Pad(271));
    EXPECT_EQ(recording[272], Pad(0));
    EXPECT_EQ(recording[544], Pad(0));
    EXPECT_EQ(recording[599], Pad(599 - 544));
}

TEST(DescrambleStream, EachBlobStartsAfresh) {
    std::mt19937 random(7);
    std::vector<std::uint8_t> first(100), second(57);
    for (auto& byte : first) byte = static_cast<std::uint8_t>(random());
    for (auto& byte : second) byte = static_cast<std::uint8_t>(random());

    auto a = first, b = second;
    DescrambleStream(a.data(), a.size(), kOutlineFirstKeyIndex);
    DescrambleStream(b.data(), b.size(), kOutlineFirstKeyIndex);
    for (std::size_t i = 0; i < second.size(); ++i) {
        EXPECT_EQ(b[i], second[i] ^ Pad(static_cast<int>(33 + i))) << i;
    }
    // Not the continuation of the first blob's key stream.
    auto joined = first;
    joined.insert(joined.end(), second.begin(), second.end());
    DescrambleStream(joined.data(), joined.size(), kOutlineFirstKeyIndex);
    EXPECT_NE(std::vector<std::uint8_t>(joined.begin() + 100, joined.end()), b);
}

TEST(DescrambleStream, ScramblingTwiceGivesTheOriginal) {
    std::mt19937 random(11);
    for (std::size_t length : {0u, 1u, 238u, 239u, 271u, 272u, 273u, 5000u}) {
        for (int first : {kOutlineFirstKeyIndex, kVoiceFirstKeyIndex, 271}) {
            std::vector<std::uint8_t> plain(length);
            for (auto& byte : plain) byte = static_cast<std::uint8_t>(random());
            auto data = plain;
            DescrambleStream(data.data(), data.size(), first);
            if (length > 0) {
                EXPECT_NE(data, plain);
            }
            DescrambleStream(data.data(), data.size(), first);
            EXPECT_EQ(data, plain) << length << " from " << first;
        }
    }
}

}  // namespace
