#include "glyph/outline.h"

#include <cstddef>
#include <optional>

#include "data/byte_reader.h"

int FixedToInt(std::int32_t fixed) {
    return FixedIntegerPart(fixed) + ((static_cast<std::uint32_t>(fixed) & 0xFFFFu) >= 0x8000u);
}

int FixedIntegerPart(std::int32_t fixed) {
    return fixed >> 16;
}

namespace {

struct FixedPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// Midpoint on the raw fixed values, truncating toward zero.
FixedPoint Midpoint(FixedPoint a, FixedPoint b) {
    return {static_cast<std::int32_t>((std::int64_t{a.x} + b.x) / 2),
            static_cast<std::int32_t>((std::int64_t{a.y} + b.y) / 2)};
}

class ContourBuilder {
public:
    ContourBuilder(OutlinePoints& points, std::size_t& total)
        : points_(points), total_(total), first_(total) {}

    OutlineStatus Add(Point p) {
        if (total_ >= points_.size()) return OutlineStatus::TooManyPoints;
        if (count_ >= kMaxContourPoints) return OutlineStatus::ContourTooLong;
        points_[total_++] = p;
        ++count_;
        return OutlineStatus::Ok;
    }
    OutlineStatus AddRounded(FixedPoint p) { return Add({FixedToInt(p.x), FixedToInt(p.y)}); }
    // The first point of the contour; the start point when no curve added any.
    Point First() const { return points_[first_]; }
    std::uint16_t Count() const { return count_; }

private:
    OutlinePoints& points_;
    std::size_t& total_;
    std::size_t first_;
    std::uint16_t count_ = 0;
};

std::optional<FixedPoint> ReadFixedPoint(ByteReader& reader) {
    const auto x = reader.I32();
    const auto y = reader.I32();
    if (!x || !y) return std::nullopt;
    return FixedPoint{*x, *y};
}

// Appends the points of the curve records between begin and end.
OutlineStatus ParseCurves(ByteReader& reader, std::size_t begin, std::size_t end,
                          ContourBuilder& contour) {
    std::size_t at = begin;
    while (at < end) {
        if (end - at < kCurveHeaderSize || !reader.Seek(at)) return OutlineStatus::CurvePastPolygon;
        const auto type = reader.U16();
        const auto n = reader.U16();
        if (!type || !n) return OutlineStatus::CurvePastPolygon;
        const std::size_t length = kCurveHeaderSize + kFixedPointSize * std::size_t{*n};
        if (length > end - at) return OutlineStatus::CurvePastPolygon;

        if (*type == kCurveLine) {
            for (int i = 0; i < *n; ++i) {
                const auto p = ReadFixedPoint(reader);
                if (!p) return OutlineStatus::CurvePastPolygon;
                if (auto s = contour.AddRounded(*p); s != OutlineStatus::Ok) return s;
            }
        } else if (*type == kCurveSpline) {
            if (*n < 2) return OutlineStatus::ShortSpline;
            auto q = ReadFixedPoint(reader);
            if (!q) return OutlineStatus::CurvePastPolygon;
            for (int k = 0; k + 1 < *n; ++k) {
                const auto next = ReadFixedPoint(reader);
                if (!next) return OutlineStatus::CurvePastPolygon;
                if (auto s = contour.AddRounded(*q); s != OutlineStatus::Ok) return s;
                const FixedPoint joint = k + 2 < *n ? Midpoint(*q, *next) : *next;
                if (auto s = contour.AddRounded(joint); s != OutlineStatus::Ok) return s;
                q = next;
            }
        }
        // Other curve types add no points; their length is 4 + 8n all the same.
        at += length;
    }
    return OutlineStatus::Ok;
}

}  // namespace

OutlineStatus ParseOutline(std::span<const std::uint8_t> record, OutlinePoints& points,
                           ContourCounts& counts, std::uint16_t& contourCount) {
    contourCount = 0;
    std::size_t total = 0;
    ByteReader reader(record);
    std::size_t header = 0;
    while (header < record.size()) {
        if (contourCount >= kMaxContours) return OutlineStatus::TooManyContours;
        if (!reader.Seek(header)) return OutlineStatus::PolygonPastRecord;
        const auto size = reader.U32();
        const auto type = reader.U32();  // 24; not checked
        const auto start = ReadFixedPoint(reader);
        if (!size || !type || !start) return OutlineStatus::PolygonPastRecord;
        if (*size < kPolygonHeaderSize) return OutlineStatus::BadPolygonSize;
        if (*size > record.size() - header) return OutlineStatus::PolygonPastRecord;
        const std::size_t end = header + *size;

        ContourBuilder contour(points, total);
        if (auto s = ParseCurves(reader, header + kPolygonHeaderSize, end, contour);
            s != OutlineStatus::Ok) {
            return s;
        }
        if (auto s = contour.Add({FixedIntegerPart(start->x), FixedIntegerPart(start->y)});
            s != OutlineStatus::Ok) {
            return s;
        }
        if (auto s = contour.Add(contour.First()); s != OutlineStatus::Ok) return s;
        counts[contourCount++] = contour.Count();
        header = end;
    }
    for (std::size_t i = 0; i < total; ++i) {
        points[i] = {points[i].x - kOutlineShiftX, kOutlineBaseY - points[i].y};
    }
    return OutlineStatus::Ok;
}
