// The 72-byte records of the 24 x 24 font: three bytes a column, the top row
// in the high bit of the first.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The record of a two-byte GB code from fontFile; empty when the file cannot
// give all 72 bytes.
std::vector<std::uint8_t> FontRecord(const std::string& fontFile, const std::string& code);

// Whether the record inks column, row (both 0 to 23); false for a short record.
bool Ink(std::span<const std::uint8_t> record, int column, int row);
