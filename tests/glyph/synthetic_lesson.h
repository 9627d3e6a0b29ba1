// Small lesson data files for the animator and card tests, written through the
// data layer's own scrambling and cipher.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "glyph/char_index.h"

// An outline record in plain (descrambled) form.
class OutlineBuilder {
public:
    static std::int32_t Fixed(double value);

    // A polygon of curve records; each curve is a type and its points.
    struct Curve {
        std::uint16_t type = 1;
        std::vector<std::pair<double, double>> points;
    };
    OutlineBuilder& Polygon(double startX, double startY, const std::vector<Curve>& curves);
    // An axis-aligned rectangle in outline units (y up), one line record.
    OutlineBuilder& Rectangle(double x0, double y0, double x1, double y1);
    // Raw bytes, for malformed records.
    OutlineBuilder& U16(std::uint16_t value);
    OutlineBuilder& U32(std::uint32_t value);

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

struct SyntheticChar {
    std::uint16_t code = 0;
    std::vector<std::uint8_t> outline;  // plain
    std::vector<std::uint8_t> order;    // plain stroke steps (1-based), padded to 32
};

struct SyntheticLesson {
    std::vector<SyntheticChar> chars;           // in index-table order
    std::vector<std::string> dictionaryLines;   // plain lines, without newline
    std::vector<CharIndexEntry> Index() const;  // the table for these chars
    // Writes the file (creating its folder); the dictionary at its real offset.
    void Write(const std::string& path) const;
};
