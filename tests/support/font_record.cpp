#include "tests/support/font_record.h"

#include <fstream>

std::vector<std::uint8_t> FontRecord(const std::string& fontFile, const std::string& code) {
    if (code.size() < 2) return {};
    const auto hi = static_cast<unsigned char>(code[0]);
    const auto lo = static_cast<unsigned char>(code[1]);
    if (hi < 0xB0 || lo < 0xA1) return {};
    std::ifstream in(fontFile, std::ios::binary);
    in.seekg((hi - 0xB0) * 94 * 72 + (lo - 0xA1) * 72);
    std::vector<std::uint8_t> record(72);
    in.read(reinterpret_cast<char*>(record.data()), 72);
    if (in.gcount() != 72) record.clear();
    return record;
}

bool Ink(std::span<const std::uint8_t> record, int column, int row) {
    const auto at = static_cast<std::size_t>(3 * column + row / 8);
    if (column < 0 || row < 0 || row >= 24 || at >= record.size()) return false;
    return (record[at] >> (7 - row % 8)) & 1;
}
