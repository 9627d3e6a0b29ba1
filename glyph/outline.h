// Glyph outlines of the lesson data file: polygons of 16.16 fixed-point curve
// records, turned into the integer point lists of the stroke animation.
//
// Outline record (descrambled), little-endian, polygons back to back:
//   polygon header (16 bytes): size u32 (header included), type u32 (24),
//                              start x fixed, start y fixed
//   curve records up to header + size: type u16 (1 line, 2 quadratic spline),
//                              n u16, n points of (x fixed, y fixed)
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "app/runtime/polygon_fill.h"

inline constexpr int kMaxOutlinePoints = 500;  // all contours, closing points included
inline constexpr int kMaxContours = 50;
inline constexpr int kMaxContourPoints = 100;
inline constexpr int kPolygonHeaderSize = 16;
inline constexpr std::uint32_t kPolygonType = 24;  // written so; not checked
inline constexpr int kCurveHeaderSize = 4;         // type, n
inline constexpr int kFixedPointSize = 8;          // x, y
inline constexpr std::uint16_t kCurveLine = 1;
inline constexpr std::uint16_t kCurveSpline = 2;

// Screen transform applied to every parsed point: x' = x - 3, y' = 110 - y.
inline constexpr int kOutlineShiftX = 3;
inline constexpr int kOutlineBaseY = 110;

using OutlinePoints = std::array<Point, kMaxOutlinePoints>;
using ContourCounts = std::array<std::uint16_t, kMaxContours>;

// 16.16 fixed value rounded to the nearest integer, halves upward.
int FixedToInt(std::int32_t fixed);
// The signed integer part (high 16 bits) of a fixed value: rounds toward minus infinity.
int FixedIntegerPart(std::int32_t fixed);

enum class OutlineStatus {
    Ok,
    TooManyPoints,      // more than kMaxOutlinePoints in all
    TooManyContours,    // more than kMaxContours
    ContourTooLong,     // more than kMaxContourPoints in one contour
    ShortSpline,        // a spline record of fewer than two points
    CurvePastPolygon,   // a curve record running past the end of its polygon
    BadPolygonSize,     // a polygon size below the header's 16 bytes (0 included)
    PolygonPastRecord,  // a polygon header or body running past the record
};

// Parses a descrambled outline record into points (screen coordinates, outline
// order), the point count of each contour and the number of contours. Each
// contour reads: its curve points, the start point, its first point again.
// On any status but Ok the outputs are partial and must not be drawn; nothing
// is ever written outside the arrays.
OutlineStatus ParseOutline(std::span<const std::uint8_t> record, OutlinePoints& points,
                           ContourCounts& counts, std::uint16_t& contourCount);
