// The 24 x 24 bitmap font dat/hzk24k.dat and drawing its glyphs.
//
// The file is a flat array of 72-byte records in GB2312 code order from the first
// hanzi (0xB0A1), 94 cells a row. A record holds the 24 columns from left to right,
// three bytes a column; each byte holds eight rows, the most significant bit the
// topmost. A set bit is ink.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "app/runtime/canvas.h"

inline constexpr int kGlyph24Size = 24;
inline constexpr std::size_t kGlyph24RecordSize = 72;
inline constexpr std::uint8_t kGlyph24FirstRow = 0xB0;  // the first record is 0xB0A1's
inline constexpr std::uint8_t kGlyph24FirstCell = 0xA1;
inline constexpr std::uint8_t kGlyph24LastCell = 0xFE;

// Byte offset of the record of the GB code hi, lo; nothing for a code with no
// record (high byte below 0xB0, or a byte outside 0xA1-0xFE).
std::optional<std::uint64_t> Glyph24RecordOffset(std::uint8_t hi, std::uint8_t lo);

// Sets the ink pixels of a record with the cell's top-left pixel at (x, y); the
// background is left untouched. On a canvas of more device pixels each font
// pixel covers its own area of them (Canvas::Bitmap). A record shorter than 72
// bytes draws nothing.
void DrawGlyph24Record(int x, int y, std::span<const std::uint8_t> record, Canvas& canvas,
                       Colour colour);

// Draws the GB2312 character at code (its first two bytes) from the font file,
// opened, read and closed on every call. A code whose record is not in the file
// draws nothing. A missing or unreadable font file shows a message and ends the
// process with exit status 0.
void DrawGlyph24(int x, int y, const char* code, Canvas& canvas, Colour colour);
