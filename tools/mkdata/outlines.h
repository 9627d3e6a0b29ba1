// Stroke outlines of the lesson characters in the program's polygon outline format.
//
// The source is hanzi-writer-data: one JSON file per character whose `strokes` are SVG
// paths (M, L, Q, C, Z) in writing order, in a 1024-unit box with y up. Each stroke is
// fitted as one polygon of one quadratic spline record, in card pixels, so that the
// pixels the program fills from the parsed, integer-rounded contour match the source
// stroke rasterised at the same scale. The contours are stored in geometric order
// (top-left of their bounding boxes); the stroke order maps writing steps to them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/runtime/polygon_fill.h"
#include "glyph/outline.h"
#include "glyph/strokes.h"
#include "tools/mkdata/outline_source.h"

struct CharacterOutline {
    std::uint16_t code = 0;
    std::vector<std::uint8_t> record;       // plain (unscrambled) outline record
    std::vector<std::uint8_t> strokeOrder;  // step s -> contour number from 1
};

struct OutlineBuild {
    std::vector<CharacterOutline> characters;  // in the order of the codes given
    std::string report;                        // figures to print
};

// The lowest IoU of a character's filled contours with its source strokes that a
// lesson is built with. Five characters of 61 strokes together still fit at 0.93,
// every stroke in its shape, a pixel off at the edges; at 0.89 (69 strokes) thin
// strokes shrink to slivers and dots to wedges.
inline constexpr double kOutlineFloor = 0.92;

// Reads <dir>/<character>.json for the lesson characters (GB codes, in slot order)
// and fits their records into byteBudget bytes together, sharing it so that each
// further point goes to the character drawn worst. Deterministic. Throws
// std::runtime_error, with a message for the teacher who chose the characters, when
// one has no stroke data or more strokes than a stroke-order record holds, or when
// the characters have so many strokes together that one would be drawn below floor;
// also when a source file is malformed.
OutlineBuild BuildOutlines(const std::string& hanziWriterDataDir,
                           std::span<const std::uint16_t> codes, std::size_t byteBudget,
                           double floor = kOutlineFloor);

// The IoU that code alone reaches with the whole budget, the fit stopping as
// soon as it is at floor (so a figure at or above floor is not the best the
// budget gives). Throws as BuildOutlines does for missing or malformed stroke
// data and for a character with more strokes than a stroke-order record holds.
double FitAlone(const std::string& hanziWriterDataDir, std::uint16_t code, std::size_t byteBudget,
                double floor = kOutlineFloor);

// The contours of an outline record as the program's ParseOutline expands them, in
// screen coordinates, each with its two closing points. nullopt when the program
// would reject the record (bad sizes, a short spline, over its limits).
std::optional<std::vector<std::vector<Point>>> ExpandOutlineRecord(
    std::span<const std::uint8_t> record);

// The pixels the program fills for one contour (even-odd rule at pixel centres).
CardMask FillContour(std::span<const Point> contour);

double IntersectionOverUnion(const CardMask& a, const CardMask& b);

struct CharacterQuality {
    std::vector<double> strokeIoU;  // in writing order
    double iou = 0;                 // all strokes together
};

// Measures a built outline from its record bytes and stroke order against the source.
CharacterQuality MeasureOutline(const CharacterOutline& outline,
                                const std::string& hanziWriterDataDir);
