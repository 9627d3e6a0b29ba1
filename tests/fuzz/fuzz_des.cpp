// DesDecryptBuffer on arbitrary lengths and keys. Input: one byte of key length
// (0-15; the key string is that long and zero-terminated), the key, the buffer.
// Encrypting the whole blocks again gives the input back; a tail is unchanged.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

#include "data/des.h"
#include "tests/fuzz/fuzz_check.h"

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

    FUZZ_CHECK(DesDecryptBuffer(buffer.get(), key.get(), length) == 0);
    const std::size_t whole = length - length % 8;
    FUZZ_CHECK(std::equal(buffer.get() + whole, buffer.get() + length, input + whole));
    for (std::size_t at = 0; at < whole; at += 8) DesBlock(buffer.get() + at, kDesEncrypt);
    FUZZ_CHECK(std::equal(buffer.get(), buffer.get() + length, input));
    // Round-key bit 40 is zero whatever the key.
    for (int round = 1; round <= 16; ++round)
        FUZZ_CHECK((DesRoundKey(round) >> (48 - 40) & 1) == 0);
    return 0;
}
