#include "data/des.h"

#include <cstring>

namespace {

// FIPS 46-3 tables, bit positions counted from 1 = most significant.
constexpr std::array<std::uint8_t, 64> kIp = {
    58, 50, 42, 34, 26, 18, 10, 2,  60, 52, 44, 36, 28, 20, 12, 4,  62, 54, 46, 38, 30, 22,
    14, 6,  64, 56, 48, 40, 32, 24, 16, 8,  57, 49, 41, 33, 25, 17, 9,  1,  59, 51, 43, 35,
    27, 19, 11, 3,  61, 53, 45, 37, 29, 21, 13, 5,  63, 55, 47, 39, 31, 23, 15, 7};

constexpr std::array<std::uint8_t, 64> kFp = {
    40, 8,  48, 16, 56, 24, 64, 32, 39, 7,  47, 15, 55, 23, 63, 31, 38, 6,  46, 14, 54, 22,
    62, 30, 37, 5,  45, 13, 53, 21, 61, 29, 36, 4,  44, 12, 52, 20, 60, 28, 35, 3,  43, 11,
    51, 19, 59, 27, 34, 2,  42, 10, 50, 18, 58, 26, 33, 1,  41, 9,  49, 17, 57, 25};

constexpr std::array<std::uint8_t, 48> kE = {
    32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11, 12, 13, 12, 13, 14, 15, 16, 17,
    16, 17, 18, 19, 20, 21, 20, 21, 22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1};

constexpr std::array<std::uint8_t, 32> kP = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23,
                                             26, 5, 18, 31, 10, 2,  8,  24, 14, 32, 27,
                                             3,  9, 19, 13, 30, 6,  22, 11, 4,  25};

constexpr std::array<std::uint8_t, 56> kPc1 = {
    57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18, 10, 2,  59, 51, 43,
    35, 27, 19, 11, 3,  60, 52, 44, 36, 63, 55, 47, 39, 31, 23, 15, 7,  62, 54,
    46, 38, 30, 22, 14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr std::array<std::uint8_t, 48> kPc2 = {
    14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
    41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr std::array<std::uint8_t, 16> kRotations = {1, 1, 2, 2, 2, 2, 2, 2,
                                                     1, 2, 2, 2, 2, 2, 2, 1};

using SBoxes = std::array<std::array<std::array<std::uint8_t, 16>, 4>, 8>;

constexpr SBoxes kStandardSBoxes = {{
    {{{14, 4, 13, 1, 2, 15, 11, 8, 3, 10, 6, 12, 5, 9, 0, 7},
      {0, 15, 7, 4, 14, 2, 13, 1, 10, 6, 12, 11, 9, 5, 3, 8},
      {4, 1, 14, 8, 13, 6, 2, 11, 15, 12, 9, 7, 3, 10, 5, 0},
      {15, 12, 8, 2, 4, 9, 1, 7, 5, 11, 3, 14, 10, 0, 6, 13}}},
    {{{15, 1, 8, 14, 6, 11, 3, 4, 9, 7, 2, 13, 12, 0, 5, 10},
      {3, 13, 4, 7, 15, 2, 8, 14, 12, 0, 1, 10, 6, 9, 11, 5},
      {0, 14, 7, 11, 10, 4, 13, 1, 5, 8, 12, 6, 9, 3, 2, 15},
      {13, 8, 10, 1, 3, 15, 4, 2, 11, 6, 7, 12, 0, 5, 14, 9}}},
    {{{10, 0, 9, 14, 6, 3, 15, 5, 1, 13, 12, 7, 11, 4, 2, 8},
      {13, 7, 0, 9, 3, 4, 6, 10, 2, 8, 5, 14, 12, 11, 15, 1},
      {13, 6, 4, 9, 8, 15, 3, 0, 11, 1, 2, 12, 5, 10, 14, 7},
      {1, 10, 13, 0, 6, 9, 8, 7, 4, 15, 14, 3, 11, 5, 2, 12}}},
    {{{7, 13, 14, 3, 0, 6, 9, 10, 1, 2, 8, 5, 11, 12, 4, 15},
      {13, 8, 11, 5, 6, 15, 0, 3, 4, 7, 2, 12, 1, 10, 14, 9},
      {10, 6, 9, 0, 12, 11, 7, 13, 15, 1, 3, 14, 5, 2, 8, 4},
      {3, 15, 0, 6, 10, 1, 13, 8, 9, 4, 5, 11, 12, 7, 2, 14}}},
    {{{2, 12, 4, 1, 7, 10, 11, 6, 8, 5, 3, 15, 13, 0, 14, 9},
      {14, 11, 2, 12, 4, 7, 13, 1, 5, 0, 15, 10, 3, 9, 8, 6},
      {4, 2, 1, 11, 10, 13, 7, 8, 15, 9, 12, 5, 6, 3, 0, 14},
      {11, 8, 12, 7, 1, 14, 2, 13, 6, 15, 0, 9, 10, 4, 5, 3}}},
    {{{12, 1, 10, 15, 9, 2, 6, 8, 0, 13, 3, 4, 14, 7, 5, 11},
      {10, 15, 4, 2, 7, 12, 9, 5, 6, 1, 13, 14, 0, 11, 3, 8},
      {9, 14, 15, 5, 2, 8, 12, 3, 7, 0, 4, 10, 1, 13, 11, 6},
      {4, 3, 2, 12, 9, 5, 15, 10, 11, 14, 1, 7, 6, 0, 8, 13}}},
    {{{4, 11, 2, 14, 15, 0, 8, 13, 3, 12, 9, 7, 5, 10, 6, 1},
      {13, 0, 11, 7, 4, 9, 1, 10, 14, 3, 5, 12, 2, 15, 8, 6},
      {1, 4, 11, 13, 12, 3, 7, 14, 10, 15, 6, 8, 0, 5, 9, 2},
      {6, 11, 13, 8, 1, 4, 10, 7, 9, 5, 0, 15, 14, 2, 3, 12}}},
    {{{13, 2, 8, 4, 6, 15, 11, 1, 10, 9, 3, 14, 5, 0, 12, 7},
      {1, 15, 13, 8, 10, 3, 7, 4, 12, 5, 6, 11, 0, 14, 9, 2},
      {7, 11, 4, 1, 9, 12, 14, 2, 0, 6, 10, 13, 15, 3, 5, 8},
      {2, 1, 14, 7, 4, 10, 8, 13, 15, 12, 9, 0, 3, 5, 6, 11}}},
}};

// The two entries in which this cipher differs from FIPS 46-3.
constexpr SBoxes VariantSBoxes() {
    SBoxes boxes = kStandardSBoxes;
    boxes[1][1][7] = 15;  // S2, input 15 (FIPS: 14)
    boxes[3][3][5] = 10;  // S4, input 43 (FIPS: 1)
    return boxes;
}
constexpr SBoxes kVariantSBoxes = VariantSBoxes();

// Output bit i (from 1) is input bit table[i-1] of a width-bit value.
template <std::size_t N>
constexpr std::uint64_t Permute(std::uint64_t in, const std::array<std::uint8_t, N>& table,
                                int width) {
    std::uint64_t out = 0;
    for (std::uint8_t bit : table) out = (out << 1) | ((in >> (width - bit)) & 1u);
    return out;
}

// S-box s and P combined: the 32-bit output of f for one 6-bit input.
using SpTable = std::array<std::array<std::uint32_t, 64>, 8>;

constexpr SpTable MakeSpTable(const SBoxes& boxes) {
    SpTable table{};
    for (int s = 0; s < 8; ++s) {
        for (int six = 0; six < 64; ++six) {
            const int row = ((six >> 4) & 2) | (six & 1);
            const int column = (six >> 1) & 15;
            const std::uint64_t nibble = boxes[s][row][column];
            table[s][six] = static_cast<std::uint32_t>(Permute(nibble << (28 - 4 * s), kP, 32));
        }
    }
    return table;
}
constexpr SpTable kStandardSp = MakeSpTable(kStandardSBoxes);
constexpr SpTable kVariantSp = MakeSpTable(kVariantSBoxes);

struct KeySchedule {
    std::uint32_t c = 0;
    std::uint32_t d = 0;
    std::array<std::uint64_t, 16> round{};
    const SpTable* sp = &kVariantSp;
};

KeySchedule schedule;

constexpr std::uint32_t kMask28 = 0x0FFFFFFF;

std::uint32_t Rotate28(std::uint32_t half, int count) {
    return ((half << count) | (half >> (28 - count))) & kMask28;
}

std::uint64_t LoadBlock(const std::uint8_t* bytes) {
    std::uint64_t value = 0;
    for (int half = 0; half < 2; ++half) {
        for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[4 * half + i];
    }
    return value;
}

void StoreBlock(std::uint64_t value, std::uint8_t* bytes) {
    for (int half = 1; half >= 0; --half) {
        for (int i = 0; i < 4; ++i) {
            bytes[4 * half + i] = static_cast<std::uint8_t>(value);
            value >>= 8;
        }
    }
}

std::uint32_t F(std::uint32_t r, std::uint64_t roundKey, const SpTable& sp) {
    const std::uint64_t x = Permute(r, kE, 32) ^ roundKey;
    std::uint32_t out = 0;
    for (int s = 0; s < 8; ++s) out |= sp[s][(x >> (42 - 6 * s)) & 63];
    return out;
}

}  // namespace

void DesSetKey(const char* key, DesTables tables) {
    const bool standard = tables == DesTables::Standard;
    schedule = KeySchedule{};
    schedule.sp = standard ? &kStandardSp : &kVariantSp;

    // A key string shorter than 8 bytes counts as padded with zero bytes.
    std::uint8_t bytes[8] = {};
    if (key != nullptr) std::memcpy(bytes, key, strnlen(key, 8));
    const std::uint64_t cd = Permute(LoadBlock(bytes), kPc1, 64);
    schedule.c = static_cast<std::uint32_t>(cd >> 28) & kMask28;
    schedule.d = static_cast<std::uint32_t>(cd) & kMask28;

    for (int n = 0; n < 16; ++n) {
        schedule.c = Rotate28(schedule.c, kRotations[n]);
        schedule.d = Rotate28(schedule.d, kRotations[n]);
        // CD bits 1-56, then bit 57 = 0.
        const std::uint64_t cd57 = ((std::uint64_t{schedule.c} << 28) | schedule.d) << 1;
        std::uint64_t roundKey = 0;
        for (int j = 0; j < 48; ++j) {
            const int shift = (j >= 24 && !standard) ? 1 : 0;
            const int bit = kPc2[j] + shift;
            roundKey = (roundKey << 1) | ((cd57 >> (57 - bit)) & 1u);
        }
        schedule.round[n] = roundKey;
    }
}

void DesBlock(std::uint8_t* block, int direction) {
    if (direction != kDesEncrypt && direction != kDesDecrypt) return;
    const std::uint64_t in = Permute(LoadBlock(block), kIp, 64);
    std::uint32_t l = static_cast<std::uint32_t>(in >> 32);
    std::uint32_t r = static_cast<std::uint32_t>(in);
    for (int n = 0; n < 16; ++n) {
        const std::uint64_t k = schedule.round[direction == kDesEncrypt ? n : 15 - n];
        const std::uint32_t next = l ^ F(r, k, *schedule.sp);
        l = r;
        r = next;
    }
    StoreBlock(Permute((std::uint64_t{r} << 32) | l, kFp, 64), block);
}

int DesDecryptBuffer(std::uint8_t* buffer, const char* key, std::size_t length) {
    DesSetKey(key);
    for (std::size_t offset = 0; length - offset >= 8; offset += 8) {
        DesBlock(buffer + offset, kDesDecrypt);
    }
    return 0;
}

std::uint64_t DesRoundKey(int round) {
    if (round < 1 || round > 16) return 0;
    return schedule.round[round - 1];
}
