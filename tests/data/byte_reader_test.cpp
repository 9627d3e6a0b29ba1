#include "data/byte_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>

namespace {

constexpr std::array<std::uint8_t, 11> kBytes = {0x01, 0x34, 0x12, 0x78, 0x56, 0x34,
                                                 0x12, 0xFE, 0xFF, 0xFF, 0xFF};

TEST(ByteReader, ReadsLittleEndianIntegers) {
    ByteReader reader(kBytes);
    EXPECT_EQ(reader.U8(), 0x01);
    EXPECT_EQ(reader.U16(), 0x1234);
    EXPECT_EQ(reader.U32(), 0x12345678u);
    EXPECT_EQ(reader.I32(), -2);
    EXPECT_EQ(reader.remaining(), 0u);
    EXPECT_TRUE(reader.ok());
}

TEST(ByteReader, BytesAreAViewOfTheRun) {
    ByteReader reader(kBytes);
    ASSERT_TRUE(reader.Seek(3));
    const auto run = reader.Bytes(4);
    ASSERT_TRUE(run);
    ASSERT_EQ(run->size(), 4u);
    EXPECT_EQ(run->data(), kBytes.data() + 3);
    EXPECT_EQ(reader.position(), 7u);
    EXPECT_TRUE(reader.Bytes(4));  // exactly the rest
    EXPECT_TRUE(reader.Bytes(0));  // an empty run at the end
}

TEST(ByteReader, ReadPastTheEndFailsAndStaysFailed) {
    ByteReader reader(kBytes);
    ASSERT_TRUE(reader.Seek(9));
    EXPECT_FALSE(reader.U32());
    EXPECT_FALSE(reader.ok());
    EXPECT_EQ(reader.position(), 9u);
    // Enough bytes remain for these, but the reader has failed.
    EXPECT_FALSE(reader.U8());
    EXPECT_FALSE(reader.Seek(0));
    EXPECT_FALSE(reader.Skip(0));
    EXPECT_EQ(reader.position(), 9u);
}

TEST(ByteReader, EachReadFailsOneByteShort) {
    for (std::size_t width : {1u, 2u, 4u}) {
        const std::span<const std::uint8_t> bytes(kBytes.data(), width - 1);
        ByteReader reader(bytes);
        const bool read = width == 1   ? reader.U8().has_value()
                          : width == 2 ? reader.U16().has_value()
                                       : reader.U32().has_value();
        EXPECT_FALSE(read) << width;
        EXPECT_FALSE(reader.ok()) << width;
    }
    ByteReader reader(std::span<const std::uint8_t>(kBytes.data(), 3));
    EXPECT_FALSE(reader.I32());
}

TEST(ByteReader, SeekAndSkipAreBounded) {
    ByteReader reader(kBytes);
    EXPECT_TRUE(reader.Seek(kBytes.size()));  // the end itself is a position
    EXPECT_EQ(reader.remaining(), 0u);
    EXPECT_FALSE(reader.U8());

    ByteReader beyond(kBytes);
    EXPECT_FALSE(beyond.Seek(kBytes.size() + 1));
    EXPECT_EQ(beyond.position(), 0u);

    ByteReader skip(kBytes);
    ASSERT_TRUE(skip.Skip(5));
    EXPECT_FALSE(skip.Skip(std::numeric_limits<std::size_t>::max()));  // no wrap-around
    EXPECT_EQ(skip.position(), 5u);

    ByteReader bytes(kBytes);
    ASSERT_TRUE(bytes.Skip(1));
    EXPECT_FALSE(bytes.Bytes(std::numeric_limits<std::size_t>::max()));
    EXPECT_FALSE(bytes.Bytes(kBytes.size()));
}

TEST(ByteReader, EmptyInput) {
    ByteReader reader(std::span<const std::uint8_t>{});
    EXPECT_TRUE(reader.Seek(0));
    EXPECT_FALSE(reader.U8());
    EXPECT_FALSE(reader.ok());
}

}  // namespace
