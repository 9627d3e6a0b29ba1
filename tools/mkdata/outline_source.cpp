#include "tools/mkdata/outline_source.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "app/runtime/polygon_fill.h"
#include "glyph/outline.h"
#include "tools/mkdata/gb2312.h"
#include "tools/mkdata/source_text.h"

namespace {

// The 1024-unit source box (y up, -124 .. 900) onto a square of kSquare card pixels
// centred in the picture's square frame; the picture starts above the frame.
constexpr double kSquare = 120.0;
constexpr double kScale = kSquare / 1024.0;
constexpr double kSquareLeft = (kStrokeFrameSize - kSquare) / 2.0;
constexpr double kSquareTop = (kStrokeFrameSize - kSquare) / 2.0 - kStrokePictureTop;
constexpr double kSourceTop = 900.0;

// The program's fill of the source strokes: their flattened points are
// multiples of 2^-19 pixel (integer source coordinates, curves cut at
// sixteenths, a scale of 15/128 and frame offsets of halves), so as integers
// in that unit, scaled back by the fill, they are filled exactly where they
// lie. Even-odd across a stroke's rings: the parity of their fills.
constexpr double kSourceUnit = 1.0 / (1 << 19);

RealPoint SourceToScreen(double x, double y) {
    return {kSquareLeft + x * kScale, kSquareTop + (kSourceTop - y) * kScale};
}

// An SVG path of absolute M, L, Q, C and Z commands, flattened to closed rings in
// screen coordinates.
std::vector<Ring> FlattenPath(const std::string& path) {
    std::vector<Ring> rings;
    std::size_t pos = 0;
    auto skipSpace = [&] {
        while (pos < path.size() && (path[pos] == ' ' || path[pos] == ',' || path[pos] == '\n' ||
                                     path[pos] == '\t' || path[pos] == '\r'))
            ++pos;
    };
    auto number = [&]() -> double {
        skipSpace();
        const char* begin = path.c_str() + pos;
        char* end = nullptr;
        const double v = std::strtod(begin, &end);
        if (end == begin) throw std::runtime_error("bad number in stroke path: " + path);
        pos += static_cast<std::size_t>(end - begin);
        return v;
    };
    RealPoint current;
    constexpr int kCurveSteps = 16;
    char command = 0;
    while (true) {
        skipSpace();
        if (pos >= path.size()) break;
        if (std::isalpha(static_cast<unsigned char>(path[pos]))) command = path[pos++];
        if (command == 'M') {
            current = {number(), number()};
            rings.emplace_back();
            rings.back().push_back(current);
            command = 'L';  // further pairs are line-tos
        } else if (command == 'Z') {
            command = 0;
        } else if (command == 0 || rings.empty()) {
            throw std::runtime_error("stroke path must start with M: " + path);
        } else if (command == 'L') {
            current = {number(), number()};
            rings.back().push_back(current);
        } else if (command == 'Q') {
            const RealPoint c{number(), number()};
            const RealPoint e{number(), number()};
            for (int i = 1; i <= kCurveSteps; ++i) {
                const double t = i / double(kCurveSteps), u = 1 - t;
                rings.back().push_back({u * u * current.x + 2 * u * t * c.x + t * t * e.x,
                                        u * u * current.y + 2 * u * t * c.y + t * t * e.y});
            }
            current = e;
        } else if (command == 'C') {
            const RealPoint c1{number(), number()};
            const RealPoint c2{number(), number()};
            const RealPoint e{number(), number()};
            for (int i = 1; i <= kCurveSteps; ++i) {
                const double t = i / double(kCurveSteps), u = 1 - t;
                rings.back().push_back({u * u * u * current.x + 3 * u * u * t * c1.x +
                                            3 * u * t * t * c2.x + t * t * t * e.x,
                                        u * u * u * current.y + 3 * u * u * t * c1.y +
                                            3 * u * t * t * c2.y + t * t * t * e.y});
            }
            current = e;
        } else {
            throw std::runtime_error(std::string("unsupported path command ") + command);
        }
    }
    for (Ring& ring : rings) {
        for (RealPoint& p : ring) p = SourceToScreen(p.x, p.y);
        if (ring.size() > 1 && ring.front().x == ring.back().x && ring.front().y == ring.back().y)
            ring.pop_back();
    }
    std::erase_if(rings, [](const Ring& r) { return r.size() < 3; });
    if (rings.empty()) throw std::runtime_error("empty stroke path: " + path);
    return rings;
}

}  // namespace

CharacterStrokes ReadStrokes(const std::string& dir, const std::string& utf8) {
    const std::string file = dir + "/" + utf8 + ".json";
    nlohmann::json json;
    try {
        const auto text = ReadWholeFile(file);
        if (!text) throw std::runtime_error("cannot read " + file);
        json = nlohmann::json::parse(*text);
    } catch (const nlohmann::json::exception& e) {
        throw std::runtime_error(file + ": " + e.what());
    }
    if (!json.contains("strokes") || !json["strokes"].is_array() || json["strokes"].empty())
        throw std::runtime_error(file + ": no strokes");
    CharacterStrokes strokes;
    for (const auto& s : json["strokes"]) {
        if (!s.is_string()) throw std::runtime_error(file + ": stroke is not a path");
        strokes.push_back(FlattenPath(s.get<std::string>()));
    }
    return strokes;
}

CardMask RasteriseRings(const std::vector<Ring>& rings) {
    CardMask mask;
    std::vector<Point> points;
    for (const Ring& ring : rings) {
        points.clear();
        for (const RealPoint& p : ring)
            points.push_back({static_cast<int>(std::lround(p.x / kSourceUnit)),
                              static_cast<int>(std::lround(p.y / kSourceUnit))});
        FillPolygonSpans(
            points, kCardWidth, kCardHeight,
            [&](int y, int x0, int x1) {
                for (int x = x0; x < x1; ++x)
                    mask.inside[static_cast<std::size_t>(y * kCardWidth + x)] ^= 1;
            },
            kSourceUnit);
    }
    return mask;
}

// The source strokes of each character; a character without stroke data or with more
// strokes than a stroke-order record has steps is refused, in words for the teacher.
std::vector<CharacterStrokes> ReadLessonStrokes(const std::string& dir,
                                                std::span<const std::uint16_t> codes) {
    if (!std::filesystem::is_directory(dir))
        throw std::runtime_error("no hanzi-writer-data at " + dir);
    std::vector<CharacterStrokes> lesson;
    for (std::uint16_t code : codes) {
        const std::string utf8 = Gb2312Utf8(code);
        if (utf8.empty()) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%04X", code);
            throw std::runtime_error(std::string(hex) + " is not a GB2312 character");
        }
        if (!std::filesystem::exists(dir + "/" + utf8 + ".json"))
            throw std::runtime_error(utf8 +
                                     " has no stroke data in hanzi-writer-data, so its strokes "
                                     "cannot be drawn; choose another character");
        CharacterStrokes strokes = ReadStrokes(dir, utf8);
        if (strokes.size() > kMaxStrokeSteps)
            throw std::runtime_error(utf8 + " has " + std::to_string(strokes.size()) +
                                     " strokes, more than the " + std::to_string(kMaxStrokeSteps) +
                                     " steps a stroke-order record holds; choose a character "
                                     "with fewer strokes");
        lesson.push_back(std::move(strokes));
    }
    return lesson;
}

std::vector<CardMask> SourceStrokeMasks(const std::string& dir, std::uint16_t code) {
    const std::string utf8 = Gb2312Utf8(code);
    if (utf8.empty()) throw std::runtime_error("not a GB2312 character");
    std::vector<CardMask> masks;
    for (const std::vector<Ring>& rings : ReadStrokes(dir, utf8))
        masks.push_back(RasteriseRings(rings));
    return masks;
}
