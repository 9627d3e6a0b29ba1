// Prints the scramble key table of data/scramble_key.cpp.
//
// The values come from splitmix64 seeded with kSeed. Each entry takes its high
// 24 bits from one draw and its low byte from a second draw among the low bytes
// that keep every line byte (0x20-0x7E, 0xA1-0xFE) from being stored as 0x0A
// (stored = plain - low byte) and whose square has a nonzero low byte, so that
// no stream position is left unscrambled.
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr std::uint64_t kSeed = 0x54616C6C6F774665;  // "TallowFe"
constexpr int kEntries = 272;

std::uint64_t SplitMix64(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
    return z ^ (z >> 31);
}

bool IsLineByte(unsigned byte) {
    return (byte >= 0x20 && byte <= 0x7E) || (byte >= 0xA1 && byte <= 0xFE);
}

bool UsableLowByte(unsigned low) {
    if (((low * low) & 0xFFu) == 0) return false;
    for (unsigned plain = 0; plain < 256; ++plain) {
        if (IsLineByte(plain) && ((plain - low) & 0xFFu) == 0x0A) return false;
    }
    return true;
}

}  // namespace

int main() {
    std::vector<unsigned> usable;
    for (unsigned low = 0; low < 256; ++low) {
        if (UsableLowByte(low)) usable.push_back(low);
    }
    std::uint64_t state = kSeed;
    std::printf("const std::array<std::int32_t, kScrambleKeySize> ScrambleKey = {\n");
    for (int i = 0; i < kEntries; ++i) {
        const auto high = static_cast<std::uint32_t>(SplitMix64(state) >> 40);
        const unsigned low = usable[SplitMix64(state) % usable.size()];
        const auto value = static_cast<std::int32_t>((high << 8) | low);
        std::printf("%s%d,%s", i % 6 == 0 ? "    " : " ", value, i % 6 == 5 ? "\n" : "");
    }
    std::printf("\n};\n");
    return 0;
}
