// The expansion of outline records that the fitter measures with: the program's own.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tools/mkdata/outlines.h"

namespace {

class RecordWriter {
public:
    RecordWriter& U16(std::uint16_t v) {
        bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
        return *this;
    }
    RecordWriter& U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return *this;
    }
    RecordWriter& Fixed(double v) {
        return U32(static_cast<std::uint32_t>(static_cast<std::int32_t>(v * 65536.0)));
    }
    RecordWriter& Polygon(std::uint32_t size, double startX, double startY) {
        return U32(size).U32(24).Fixed(startX).Fixed(startY);
    }
    RecordWriter& Curve(std::uint16_t type, std::vector<std::pair<double, double>> points) {
        U16(type).U16(static_cast<std::uint16_t>(points.size()));
        for (auto [x, y] : points) Fixed(x).Fixed(y);
        return *this;
    }
    std::vector<std::uint8_t> bytes;
};

std::vector<Point> Screen(std::vector<Point> outlinePoints) {
    for (Point& p : outlinePoints) p = {p.x - 3, 110 - p.y};
    return outlinePoints;
}

TEST(OutlineRecord, WorkedExampleOfTwoPolygons) {
    RecordWriter w;
    w.Polygon(16 + 4 + 16 + 4 + 24, 10.75, 20.25)
        .Curve(1, {{30.5, 20.25}, {30.4, 40.6}})
        .Curve(2, {{20, 50}, {10, 45.5}, {10.75, 20.25}});
    w.Polygon(16 + 4 + 16, -2.5, -0.25).Curve(1, {{-2.5, 5.5}, {-0.25, -0.25}});
    const auto contours = ExpandOutlineRecord(w.bytes);
    ASSERT_TRUE(contours);
    ASSERT_EQ(contours->size(), 2u);
    EXPECT_EQ((*contours)[0],
              (std::vector<Point>{
                  {28, 90}, {27, 69}, {17, 60}, {12, 62}, {7, 64}, {8, 90}, {7, 90}, {28, 90}}));
    EXPECT_EQ((*contours)[1], (std::vector<Point>{{-5, 104}, {-3, 110}, {-6, 111}, {-5, 104}}));
}

TEST(OutlineRecord, LineAndSplineExpansionWithClosingPoints) {
    RecordWriter line;
    line.Polygon(16 + 4 + 24, 0, 0).Curve(1, {{1, 2}, {3, 4}, {5, 6}});
    EXPECT_EQ((*ExpandOutlineRecord(line.bytes))[0],
              Screen({{1, 2}, {3, 4}, {5, 6}, {0, 0}, {1, 2}}));

    RecordWriter two;
    two.Polygon(16 + 4 + 16, 10, 100).Curve(2, {{0, 0}, {4, 8}});
    EXPECT_EQ((*ExpandOutlineRecord(two.bytes))[0],
              (std::vector<Point>{{-3, 110}, {1, 102}, {7, 10}, {-3, 110}}));

    // The midpoint is taken on the fixed values before rounding: (0.25 + 0.75) / 2 = 0.5 -> 1.
    RecordWriter three;
    three.Polygon(16 + 4 + 24, 2.75, -0.25).Curve(2, {{0.25, 0}, {0.75, 0}, {4, 0}});
    EXPECT_EQ((*ExpandOutlineRecord(three.bytes))[0],
              Screen({{0, 0}, {1, 0}, {1, 0}, {4, 0}, {2, -1}, {0, 0}}));
}

TEST(OutlineRecord, MalformedRecordsAreRejected) {
    RecordWriter sizeTooBig;
    sizeTooBig.Polygon(16 + 4 + 24 + 8, 0, 0).Curve(1, {{1, 2}, {3, 4}, {5, 6}});
    EXPECT_FALSE(ExpandOutlineRecord(sizeTooBig.bytes));

    RecordWriter shortSpline;
    shortSpline.Polygon(16 + 4 + 8, 0, 0).Curve(2, {{1, 2}});
    EXPECT_FALSE(ExpandOutlineRecord(shortSpline.bytes));

    RecordWriter pointsPastPolygon;
    pointsPastPolygon.Polygon(16 + 4 + 8, 0, 0).Curve(1, {{1, 2}, {3, 4}});
    EXPECT_FALSE(ExpandOutlineRecord(pointsPastPolygon.bytes));

    RecordWriter truncated;
    truncated.Polygon(16 + 4 + 24, 0, 0).Curve(1, {{1, 2}, {3, 4}, {5, 6}});
    truncated.bytes.resize(30);
    EXPECT_FALSE(ExpandOutlineRecord(truncated.bytes));

    // 51 points in one spline contour: 102 points with the closing two, over 100.
    RecordWriter tooLong;
    std::vector<std::pair<double, double>> points(51, {1, 1});
    tooLong.Polygon(16 + 4 + 8 * 51, 0, 0).Curve(2, points);
    EXPECT_FALSE(ExpandOutlineRecord(tooLong.bytes));
}

}  // namespace
