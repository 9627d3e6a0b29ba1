// The character index table: where each character's outline lies in the
// outline section. Entries are stored scaled: c' = code * m7, s' = size * m9.
#pragma once

#include <array>
#include <cstdint>

struct CharIndexEntry {
    std::int32_t scaledCode = 0;
    std::int32_t scaledSize = 0;
};

struct CharIndexDecoded {
    std::int32_t code = 0;
    std::int32_t size = 0;
};

inline constexpr int kCharIndexEntries = 5;

// Built into the program; generated together with dat/zw.dat.
extern const std::array<CharIndexEntry, kCharIndexEntries> CharIndexTable;

CharIndexDecoded DecodeCharIndexEntry(const CharIndexEntry& entry);
// The stored form of (code, size); code and size positive.
CharIndexEntry EncodeCharIndexEntry(std::int32_t code, std::int32_t size);
