// DesDecryptBuffer on arbitrary lengths and keys. Input: one byte of key length
// (0-15; the key string is that long and zero-terminated), the key, the buffer.
// Each whole block decrypts to what a bit-by-bit model of the cipher, written
// here from its description, gives, and DesBlock encrypts that back to the
// input; a tail is unchanged.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

#include "data/des.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// FIPS 46-3, bit positions from 1.
constexpr std::uint8_t kIp[] = {58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
                                62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
                                57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
                                61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};
constexpr std::uint8_t kE[] = {32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11,
                               12, 13, 12, 13, 14, 15, 16, 17, 16, 17, 18, 19, 20, 21, 20, 21,
                               22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1};
constexpr std::uint8_t kP[] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                               2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};
constexpr std::uint8_t kPc1[] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
                                 10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
                                 63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
                                 14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};
constexpr std::uint8_t kPc2[] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
                                 26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
                                 51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};
constexpr int kShifts[] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};
// S1-S8, rows one after another, one hex digit an entry; FIPS 46-3's except
// S2 row 1 column 7 (F, FIPS E) and S4 row 3 column 5 (A, FIPS 1).
constexpr const char* kS[] = {
    "E4D12FB83A6C59070F74E2D1A6CB953841E8D62BFC973A50FC8249175B3EA06D",
    "F18E6B34972DC05A3D47F28FC01A69B50E7BA4D158C6932FD8A13F42B67C05E9",
    "A09E63F51DC7B428D709346A285ECBF1D6498F30B12C5AE71AD069874FE3B52C",
    "7DE3069A1285BC4FD8B56F03472C1AE9A690CB7DF13E52843F06AAD8945BC72E",
    "2C417AB6853FD0E9EB2C47D150FA3986421BAD78F9C5630EB8C71E2D6F09A453",
    "C1AF92680D34E75BAF427C9561DE0B389EF528C3704A1DB6432C95FABE17608D",
    "4B2EF08D3C975A61D0B7491AE35C2F8614BDC37EAF6805926BD814A7950FE23C",
    "D2846FB1A93E50C71FD8A374C56B0E927B419CE206ADF35821E74A8DFC90356B",
};

template <std::size_t N>
using Bits = std::array<std::uint8_t, N>;  // bit 1 first

template <std::size_t N, std::size_t M>
Bits<N> Select(const Bits<M>& in, const std::uint8_t (&table)[N]) {
    Bits<N> out;
    for (std::size_t i = 0; i < N; ++i) out[i] = in[table[i] - 1u];
    return out;
}

// The cipher's byte order: each 4-byte half is little-endian.
Bits<64> ToBits(const std::uint8_t* bytes) {
    Bits<64> bits;
    for (std::size_t i = 0; i < 64; ++i)
        bits[i] = bytes[4 * (i / 32) + 3 - i % 32 / 8] >> (7 - i % 8) & 1;
    return bits;
}

void FromBits(const Bits<64>& bits, std::uint8_t* bytes) {
    std::memset(bytes, 0, 8);
    for (std::size_t i = 0; i < 64; ++i)
        bytes[4 * (i / 32) + 3 - i % 32 / 8] |= static_cast<std::uint8_t>(bits[i] << (7 - i % 8));
}

// Round keys: bits 1-24 by PC-2, bits 25-48 one position further along CD,
// where the position past bit 56 reads 0.
std::array<Bits<48>, 16> RoundKeys(const std::uint8_t* key) {
    Bits<57> cd{};
    const Bits<56> selected = Select(ToBits(key), kPc1);
    std::copy(selected.begin(), selected.end(), cd.begin());
    std::array<Bits<48>, 16> keys;
    for (std::size_t n = 0; n < 16; ++n) {
        std::rotate(cd.begin(), cd.begin() + kShifts[n], cd.begin() + 28);
        std::rotate(cd.begin() + 28, cd.begin() + 28 + kShifts[n], cd.begin() + 56);
        for (std::size_t j = 0; j < 48; ++j) keys[n][j] = cd[kPc2[j] - (j < 24 ? 1u : 0u)];
    }
    return keys;
}

void ModelDecrypt(const std::array<Bits<48>, 16>& keys, std::uint8_t* block) {
    const Bits<64> in = Select(ToBits(block), kIp);
    Bits<32> l, r;
    std::copy(in.begin(), in.begin() + 32, l.begin());
    std::copy(in.begin() + 32, in.end(), r.begin());
    for (std::size_t n = 16; n-- > 0;) {
        Bits<48> x = Select(r, kE);
        for (std::size_t i = 0; i < 48; ++i) x[i] ^= keys[n][i];
        Bits<32> sOut;
        for (std::size_t s = 0; s < 8; ++s) {
            const std::uint8_t* six = &x[6 * s];
            const int entry =
                16 * (2 * six[0] + six[5]) + 8 * six[1] + 4 * six[2] + 2 * six[3] + six[4];
            const char digit = kS[s][entry];
            const int value = digit <= '9' ? digit - '0' : digit - 'A' + 10;
            for (std::size_t bit = 0; bit < 4; ++bit)
                sOut[4 * s + bit] = static_cast<std::uint8_t>(value >> (3 - bit) & 1);
        }
        const Bits<32> f = Select(sOut, kP);
        for (std::size_t i = 0; i < 32; ++i) l[i] ^= f[i];
        std::swap(l, r);
    }
    Bits<64> out;
    for (std::size_t i = 0; i < 64; ++i) out[kIp[i] - 1u] = i < 32 ? r[i] : l[i - 32];
    FromBits(out, block);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t keyLength = std::min<std::size_t>(data[0] & 0x0F, size - 1);
    // Exact-size heap copies: a read past the key or the buffer is a read past memory.
    auto key = std::make_unique<char[]>(keyLength + 1);
    std::memcpy(key.get(), data + 1, keyLength);
    key[keyLength] = 0;
    const std::uint8_t* input = data + 1 + keyLength;
    const std::size_t length = size - 1 - keyLength;
    auto buffer = std::make_unique<std::uint8_t[]>(length);
    if (length > 0) std::memcpy(buffer.get(), input, length);

    DesDecryptBuffer(buffer.get(), key.get(), length);
    const std::size_t whole = length - length % 8;
    FUZZ_CHECK(std::equal(buffer.get() + whole, buffer.get() + length, input + whole));

    // The key's bytes up to its end or the eighth, zero-padded.
    std::uint8_t keyBytes[8] = {};
    for (std::size_t i = 0; i < std::min<std::size_t>(keyLength, 8) && key[i] != 0; ++i)
        keyBytes[i] = static_cast<std::uint8_t>(key[i]);
    const auto keys = RoundKeys(keyBytes);
    for (std::size_t at = 0; at < whole; at += 8) {
        std::uint8_t block[8];
        std::memcpy(block, input + at, 8);
        ModelDecrypt(keys, block);
        FUZZ_CHECK(std::equal(block, block + 8, buffer.get() + at));
        DesBlock(block, kDesEncrypt);
        FUZZ_CHECK(std::equal(block, block + 8, input + at));
    }
    return 0;
}
