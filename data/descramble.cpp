#include "data/descramble.h"

#include <algorithm>
#include <array>

#include "data/scramble_key.h"

namespace {

using KeyBytes = std::array<std::uint8_t, kScrambleKeySize>;

// Low byte of key[k] * key[k]: the low byte of the 32-bit square depends only on
// the low byte of the entry, so no signed multiplication is needed.
const KeyBytes& StreamPad() {
    static const KeyBytes pad = [] {
        KeyBytes bytes{};
        for (int k = 0; k < kScrambleKeySize; ++k) {
            const auto low = static_cast<std::uint32_t>(ScrambleKey[k]) & 0xFFu;
            bytes[k] = static_cast<std::uint8_t>(low * low);
        }
        return bytes;
    }();
    return pad;
}

}  // namespace

void DescrambleStream(std::uint8_t* buffer, std::size_t length, int firstKeyIndex) {
    const KeyBytes& pad = StreamPad();
    std::size_t k = static_cast<std::size_t>(
        ((firstKeyIndex % kScrambleKeySize) + kScrambleKeySize) % kScrambleKeySize);
    while (length > 0) {
        const std::size_t run = std::min(length, pad.size() - k);
        for (std::size_t i = 0; i < run; ++i) buffer[i] ^= pad[k + i];
        buffer += run;
        length -= run;
        k = 0;
    }
}
