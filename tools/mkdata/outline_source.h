// The source of the stroke outlines: hanzi-writer-data's stroke paths (SVG in
// a 1024-unit box with y up), flattened to rings in the card's pixels and
// filled as the program fills its contours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "glyph/strokes.h"

// The card's stroke picture the outlines are drawn on.
inline constexpr int kCardWidth = kStrokePictureWidth;
inline constexpr int kCardHeight = kStrokePictureHeight;

// A pixel mask of the card picture, row by row.
struct CardMask {
    std::vector<std::uint8_t> inside = std::vector<std::uint8_t>(kCardWidth * kCardHeight, 0);
    bool at(int x, int y) const { return inside[static_cast<std::size_t>(y * kCardWidth + x)]; }
};

struct RealPoint {
    double x = 0;
    double y = 0;
};
using Ring = std::vector<RealPoint>;                      // closed, in card pixels
using CharacterStrokes = std::vector<std::vector<Ring>>;  // each stroke's rings, in writing order

// The strokes of <dir>/<utf8>.json; throws std::runtime_error when the file
// cannot be read or a path is malformed.
CharacterStrokes ReadStrokes(const std::string& dir, const std::string& utf8);

// The source strokes of each character (GB codes); a character without stroke
// data or with more strokes than a stroke-order record has steps is refused,
// in words for the teacher.
std::vector<CharacterStrokes> ReadLessonStrokes(const std::string& dir,
                                                std::span<const std::uint16_t> codes);

// The pixels of one stroke (even-odd across its rings, at pixel centres).
CardMask RasteriseRings(const std::vector<Ring>& rings);

// The source strokes of one character rasterised at card scale, in writing order.
std::vector<CardMask> SourceStrokeMasks(const std::string& hanziWriterDataDir, std::uint16_t code);
