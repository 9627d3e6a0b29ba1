#include "glyph/char_index.h"

namespace {

// m7 from s', m9 from the code; a remainder of 0 counts as the modulus.
std::int32_t Modulus7(std::int32_t scaledSize) {
    const std::int32_t m = scaledSize % 7;
    return m == 0 ? 7 : m;
}

std::int32_t Modulus9(std::int32_t code) {
    const std::int32_t m = code % 9;
    return m == 0 ? 9 : m;
}

}  // namespace

CharIndexDecoded DecodeCharIndexEntry(const CharIndexEntry& entry) {
    CharIndexDecoded decoded;
    decoded.code = entry.scaledCode / Modulus7(entry.scaledSize);
    decoded.size = entry.scaledSize / Modulus9(decoded.code);
    return decoded;
}

CharIndexEntry EncodeCharIndexEntry(std::int32_t code, std::int32_t size) {
    CharIndexEntry entry;
    entry.scaledSize = size * Modulus9(code);
    entry.scaledCode = code * Modulus7(entry.scaledSize);
    return entry;
}
