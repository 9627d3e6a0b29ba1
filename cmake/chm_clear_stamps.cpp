// Clears the two compile timestamps that chmcmd writes into a .chm file, so
// that the same pages always give the same bytes: the one in the ITSF header
// and entry 10 of the internal file #SYSTEM. Both lie outside the compressed
// section, so they can be cleared in place.
//
// Usage: tf_chm_clear_stamps file.chm

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

std::optional<std::uint64_t> ReadLe(const Bytes& b, std::uint64_t at, int width) {
    if (at > b.size() || b.size() - at < static_cast<std::uint64_t>(width)) return std::nullopt;
    std::uint64_t v = 0;
    for (int i = width - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::uint64_t>(i)];
    return v;
}

// The directory's variable-length integers: 7 bits a byte, high bit = more.
std::optional<std::uint64_t> ReadEncInt(const Bytes& b, std::uint64_t& at, std::uint64_t end) {
    std::uint64_t v = 0;
    for (int n = 0; n < 9 && at < end; ++n) {
        const unsigned char c = b[at++];
        v = (v << 7) | (c & 0x7Fu);
        if ((c & 0x80u) == 0) return v;
    }
    return std::nullopt;
}

struct Entry {
    std::uint64_t section = 0;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

// Looks a name up in the PMGL listing chunks of the directory.
std::optional<Entry> FindEntry(const Bytes& b, const std::string& wanted) {
    const auto dir = ReadLe(b, 0x48, 8);
    if (!dir || ReadLe(b, *dir, 4) != 0x50535449u) return std::nullopt;  // "ITSP"
    const auto header = ReadLe(b, *dir + 0x08, 4);
    const auto chunkSize = ReadLe(b, *dir + 0x10, 4);
    const auto chunks = ReadLe(b, *dir + 0x2C, 4);
    if (!header || !chunkSize || !chunks || *chunkSize < 0x14) return std::nullopt;
    for (std::uint64_t c = 0; c < *chunks; ++c) {
        const std::uint64_t start = *dir + *header + c * *chunkSize;
        if (ReadLe(b, start, 4) != 0x4C474D50u) continue;  // "PMGL"
        const auto freeSpace = ReadLe(b, start + 4, 4);
        if (!freeSpace || *freeSpace > *chunkSize - 0x14 || start + *chunkSize > b.size()) {
            return std::nullopt;
        }
        const std::uint64_t end = start + *chunkSize - *freeSpace;
        std::uint64_t at = start + 0x14;
        while (at < end) {
            const auto nameLength = ReadEncInt(b, at, end);
            if (!nameLength || *nameLength > end - at) return std::nullopt;
            const std::string name(b.begin() + static_cast<std::ptrdiff_t>(at),
                                   b.begin() + static_cast<std::ptrdiff_t>(at + *nameLength));
            at += *nameLength;
            const auto section = ReadEncInt(b, at, end);
            const auto offset = ReadEncInt(b, at, end);
            const auto length = ReadEncInt(b, at, end);
            if (!section || !offset || !length) return std::nullopt;
            if (name == wanted) return Entry{*section, *offset, *length};
        }
    }
    return std::nullopt;
}

void Clear(Bytes& b, std::uint64_t at, std::uint64_t n) {
    for (std::uint64_t i = 0; i < n; ++i) b[at + i] = 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s file.chm\n", argv[0]);
        return 2;
    }
    Bytes b;
    {
        std::ifstream in(argv[1], std::ios::binary);
        b.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (ReadLe(b, 0, 4) != 0x46535449u || b.size() < 0x60) {  // "ITSF"
        std::fprintf(stderr, "%s: not a CHM file\n", argv[1]);
        return 1;
    }
    Clear(b, 0x10, 4);

    const auto content = ReadLe(b, 0x58, 8);
    const auto system = FindEntry(b, "/#SYSTEM");
    if (!content || !system || system->section != 0 || *content > b.size() ||
        system->offset > b.size() - *content ||
        system->length > b.size() - *content - system->offset) {
        std::fprintf(stderr, "%s: no readable #SYSTEM\n", argv[1]);
        return 1;
    }
    // #SYSTEM: a 4-byte version, then records of code (16 bit), length (16 bit), data.
    const std::uint64_t begin = *content + system->offset;
    const std::uint64_t end = begin + system->length;
    for (std::uint64_t at = begin + 4; at + 4 <= end;) {
        const std::uint64_t code = *ReadLe(b, at, 2);
        const std::uint64_t length = *ReadLe(b, at + 2, 2);
        if (length > end - at - 4) break;
        if (code == 10) Clear(b, at + 4, length);
        at += 4 + length;
    }

    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    return out ? 0 : 1;
}
