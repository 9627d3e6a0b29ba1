#include "data/des.h"

#include <gtest/gtest.h>

// DES_ecb_encrypt is deprecated in OpenSSL 3 but is the reference here.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/des.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

namespace {

using Block = std::array<std::uint8_t, 8>;

Block FromHex(const char* hex) {
    Block block{};
    for (std::size_t i = 0; i < 8; ++i) {
        block[i] = static_cast<std::uint8_t>(std::stoi(std::string(hex + 2 * i, 2), nullptr, 16));
    }
    return block;
}

// Reverses the bytes within each 4-byte half: FIPS byte order <-> this cipher's.
Block Halves(Block block) {
    std::swap(block[0], block[3]);
    std::swap(block[1], block[2]);
    std::swap(block[4], block[7]);
    std::swap(block[5], block[6]);
    return block;
}

Block OpenSslEncrypt(const Block& key, const Block& plain) {
    DES_cblock keyBlock;
    std::memcpy(keyBlock, key.data(), 8);
    DES_key_schedule schedule;
    DES_set_key_unchecked(&keyBlock, &schedule);
    DES_cblock in, out;
    std::memcpy(in, plain.data(), 8);
    DES_ecb_encrypt(&in, &out, &schedule, DES_ENCRYPT);
    Block result;
    std::memcpy(result.data(), out, 8);
    return result;
}

Block Encipher(const Block& key, Block block, int direction,
               DesTables tables = DesTables::Variant) {
    char keyString[9] = {};
    std::memcpy(keyString, key.data(), 8);
    // DesSetKey takes a zero-terminated string; a zero byte would end it, so a
    // key with zero bytes goes through a key whose zero bytes differ only in
    // the parity bit, which the cipher ignores.
    for (char& byte : keyString) {
        if (&byte != &keyString[8] && byte == 0) byte = 1;
    }
    DesSetKey(keyString, tables);
    DesBlock(block.data(), direction);
    return block;
}

Block RandomBlock(std::mt19937_64& random) {
    Block block;
    const std::uint64_t bits = random();
    for (std::size_t i = 0; i < 8; ++i) block[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    return block;
}

class Des : public ::testing::Test {};

struct Vector {
    const char* key;
    const char* plain;
    const char* cipher;
};

// Published known-answer vectors of FIPS 46-3 DES, in its own byte order.
constexpr Vector kFipsVectors[] = {
    {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
    {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
    {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
    {"0101010101010101", "0000000000000001", "166B40B44ABA4BD6"},
    {"8001010101010101", "0000000000000000", "95A8D72813DAA94D"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "690F5B0D9A26939B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "7A389D10354BD271"},
    {"07A1133E4A0B2686", "0248D43806F67172", "868EBB51CAB4599A"},
};

TEST_F(Des, StandardTablesMatchTheFipsVectors) {
    for (const Vector& v : kFipsVectors) {
        const Block key = FromHex(v.key), plain = FromHex(v.plain), cipher = FromHex(v.cipher);
        ASSERT_EQ(OpenSslEncrypt(key, plain), cipher) << v.key;
        EXPECT_EQ(Halves(Encipher(Halves(key), Halves(plain), kDesEncrypt, DesTables::Standard)),
                  cipher)
            << v.key;
        EXPECT_EQ(Halves(Encipher(Halves(key), Halves(cipher), kDesDecrypt, DesTables::Standard)),
                  plain)
            << v.key;
    }
}

TEST_F(Des, StandardTablesMatchOpenSslOnRandomPairs) {
    std::mt19937_64 random(46);
    for (int i = 0; i < 1000; ++i) {
        const Block key = RandomBlock(random), plain = RandomBlock(random);
        const Block expected = OpenSslEncrypt(key, plain);
        ASSERT_EQ(Halves(Encipher(Halves(key), Halves(plain), kDesEncrypt, DesTables::Standard)),
                  expected)
            << i;
        ASSERT_EQ(Halves(Encipher(Halves(key), Halves(expected), kDesDecrypt, DesTables::Standard)),
                  plain)
            << i;
    }
}

TEST_F(Des, StandardFirstRoundKey) {
    // The worked example key 133457799BBCDFF1: K1 = 000110 110000 001011 101111 111111
    // 000111 000001 110010.
    Encipher(Halves(FromHex("133457799BBCDFF1")), Block{}, kDesEncrypt, DesTables::Standard);
    EXPECT_EQ(DesRoundKey(1), 0x1B02EFFC7072u);
    EXPECT_EQ(DesRoundKey(16), 0xCB3D8B0E17F5u);
    Encipher(Halves(FromHex("133457799BBCDFF1")), Block{}, kDesEncrypt);
    EXPECT_EQ(DesRoundKey(1) >> 24, 0x1B02EFu) << "bits 1-24 are selected as in FIPS 46-3";
    EXPECT_NE(DesRoundKey(1) & 0xFFFFFF, 0xFC7072u);
}

TEST_F(Des, VariantDiffersFromStandardDes) {
    std::mt19937_64 random(2);
    int differ = 0;
    for (int i = 0; i < 100; ++i) {
        const Block key = RandomBlock(random), plain = RandomBlock(random);
        differ +=
            Halves(Encipher(Halves(key), Halves(plain), kDesEncrypt)) != OpenSslEncrypt(key, plain);
    }
    EXPECT_EQ(differ, 100);
}

TEST_F(Des, VariantDecryptsWhatItEncrypts) {
    std::mt19937_64 random(3);
    for (int i = 0; i < 1000; ++i) {
        const Block key = RandomBlock(random), plain = RandomBlock(random);
        const Block cipher = Encipher(key, plain, kDesEncrypt);
        ASSERT_NE(cipher, plain);
        ASSERT_EQ(Encipher(key, cipher, kDesDecrypt), plain) << i;
    }
}

TEST_F(Des, ParityBitsAndBytesAfterTheEighthChangeNothing) {
    std::mt19937_64 random(4);
    for (int i = 0; i < 50; ++i) {
        const Block key = RandomBlock(random), plain = RandomBlock(random);
        const Block expected = Encipher(key, plain, kDesEncrypt);
        for (std::size_t byte = 0; byte < 8; ++byte) {
            Block flipped = key;
            flipped[byte] ^= 1;
            EXPECT_EQ(Encipher(flipped, plain, kDesEncrypt), expected) << i << " byte " << byte;
        }
    }
    Block block = FromHex("0123456789ABCDEF");
    const Block other = block;
    DesSetKey("hijklmnP");
    DesBlock(block.data(), kDesEncrypt);
    Block longer = other;
    DesSetKey("hijklmnPxyz and more");
    DesBlock(longer.data(), kDesEncrypt);
    EXPECT_EQ(longer, block);
}

TEST_F(Des, RoundKeyBit40IsAlwaysZero) {
    std::mt19937_64 random(5);
    for (int i = 0; i < 200; ++i) {
        Encipher(RandomBlock(random), Block{}, kDesEncrypt);
        for (int round = 1; round <= 16; ++round) {
            EXPECT_EQ(DesRoundKey(round) & (std::uint64_t{1} << (48 - 40)), 0u) << round;
        }
    }
    Encipher(FromHex("FFFFFFFFFFFFFFFF"), Block{}, kDesEncrypt);
    for (int round = 1; round <= 16; ++round) EXPECT_EQ(DesRoundKey(round), 0xFFFFFFFFFEFFu);
}

// Results of the variant under the stroke-order key, pinned (they agree with an
// independent bit-list model of the cipher written from its description).
constexpr struct {
    const char* plain;
    const char* cipher;
} kVariantVectors[] = {
    {"0000000000000000", "D616A8EC18C59017"}, {"0123456789ABCDEF", "72CBD18899E800AE"},
    {"FFFFFFFFFFFFFFFF", "73F247BF31E342D7"}, {"0102030405060708", "A3E9A209ED844BBA"},
    {"B4F3BCD2D1A7D6D0", "330A64C23158C27D"},
};

TEST_F(Des, VariantVectorsUnderTheStrokeOrderKey) {
    for (const auto& v : kVariantVectors) {
        Block block = FromHex(v.plain);
        DesSetKey(kStrokeOrderKey);
        DesBlock(block.data(), kDesEncrypt);
        EXPECT_EQ(block, FromHex(v.cipher)) << v.plain;
        DesBlock(block.data(), kDesDecrypt);
        EXPECT_EQ(block, FromHex(v.plain));
    }
}

// Two enciphered blocks of the vectors above, then a tail of four bytes.
TEST_F(Des, DecryptBufferDecryptsWholeBlocksOnly) {
    using Bytes = std::array<std::uint8_t, 20>;
    Bytes buffer = {0x33, 0x0A, 0x64, 0xC2, 0x31, 0x58, 0xC2, 0x7D, 0xD6, 0x16,
                    0xA8, 0xEC, 0x18, 0xC5, 0x90, 0x17, 0xA1, 0xB2, 0xC3, 0xD4};
    DesSetKey("another key");  // replaced by the buffer's own key
    DesDecryptBuffer(buffer.data(), kStrokeOrderKey, buffer.size());
    EXPECT_EQ(buffer, (Bytes{0xB4, 0xF3, 0xBC, 0xD2, 0xD1, 0xA7, 0xD6, 0xD0, 0,    0,
                             0,    0,    0,    0,    0,    0,    0xA1, 0xB2, 0xC3, 0xD4}));

    Block one = FromHex("D616A8EC18C59017");  // exactly one block
    DesDecryptBuffer(one.data(), kStrokeOrderKey, one.size());
    EXPECT_EQ(one, Block{});

    std::array<std::uint8_t, 7> tiny = {1, 2, 3, 4, 5, 6, 7};
    DesDecryptBuffer(tiny.data(), kStrokeOrderKey, tiny.size());
    EXPECT_EQ(tiny, (std::array<std::uint8_t, 7>{1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(Des, UnknownDirectionLeavesTheBlock) {
    Block block = FromHex("0123456789ABCDEF");
    DesSetKey(kStrokeOrderKey);
    DesBlock(block.data(), 0);
    EXPECT_EQ(block, FromHex("0123456789ABCDEF"));
}

}  // namespace
