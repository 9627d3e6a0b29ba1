#include "glyph/outline.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/glyph/synthetic_lesson.h"

namespace {

using Curve = OutlineBuilder::Curve;

int Fx(double v) {
    return FixedToInt(OutlineBuilder::Fixed(v));
}

struct Parsed {
    OutlineStatus status = OutlineStatus::Ok;
    std::vector<std::vector<Point>> contours;
};

Parsed Parse(const std::vector<std::uint8_t>& record) {
    OutlinePoints points;
    ContourCounts counts{};
    std::uint16_t n = 0;
    Parsed result;
    result.status = ParseOutline(record, points, counts, n);
    if (result.status != OutlineStatus::Ok) return result;
    std::size_t at = 0;
    for (int c = 0; c < n; ++c) {
        result.contours.emplace_back(points.begin() + static_cast<std::ptrdiff_t>(at),
                                     points.begin() + static_cast<std::ptrdiff_t>(at + counts[c]));
        at += counts[c];
    }
    return result;
}

// Screen point of an outline point.
Point Screen(int x, int y) {
    return {x - 3, 110 - y};
}

TEST(FixedToInt, RoundsHalvesUpward) {
    EXPECT_EQ(Fx(2.5), 3);
    EXPECT_EQ(Fx(-2.5), -2);
    EXPECT_EQ(Fx(-0.25), 0);
    EXPECT_EQ(Fx(2.4999), 2);
}

TEST(FixedToInt, StartPointTakesTheIntegerPart) {
    EXPECT_EQ(FixedIntegerPart(OutlineBuilder::Fixed(2.75)), 2);
    EXPECT_EQ(FixedIntegerPart(OutlineBuilder::Fixed(-0.25)), -1);
}

TEST(ParseOutline, WorkedTwoPolygonExample) {
    OutlineBuilder b;
    b.Polygon(10.75, 20.25,
              {{1, {{30.5, 20.25}, {30.4, 40.6}}}, {2, {{20, 50}, {10, 45.5}, {10.75, 20.25}}}});
    b.Polygon(-2.5, -0.25, {{1, {{-2.5, 5.5}, {-0.25, -0.25}}}});
    const Parsed p = Parse(b.bytes());
    ASSERT_EQ(p.status, OutlineStatus::Ok);
    ASSERT_EQ(p.contours.size(), 2u);
    EXPECT_EQ(p.contours[0],
              (std::vector<Point>{
                  {28, 90}, {27, 69}, {17, 60}, {12, 62}, {7, 64}, {8, 90}, {7, 90}, {28, 90}}));
    EXPECT_EQ(p.contours[1], (std::vector<Point>{{-5, 104}, {-3, 110}, {-6, 111}, {-5, 104}}));
}

TEST(ParseOutline, LineContourGetsStartAndFirstPoint) {
    OutlineBuilder b;
    b.Polygon(1, 2, {{1, {{10, 20}, {30, 40}, {50, 60}}}});
    const Parsed p = Parse(b.bytes());
    ASSERT_EQ(p.status, OutlineStatus::Ok);
    EXPECT_EQ(p.contours.at(0), (std::vector<Point>{Screen(10, 20), Screen(30, 40), Screen(50, 60),
                                                    Screen(1, 2), Screen(10, 20)}));
}

TEST(ParseOutline, SplineExpansion) {
    OutlineBuilder two;
    two.Polygon(0, 0, {{2, {{10, 10}, {20, 30}}}});
    EXPECT_EQ(Parse(two.bytes()).contours.at(0),
              (std::vector<Point>{Screen(10, 10), Screen(20, 30), Screen(0, 0), Screen(10, 10)}));

    // Three points: q0, mid(q0, q1), q1, q2; the midpoint on the raw values (10.5 + 11) / 2.
    OutlineBuilder three;
    three.Polygon(0, 0, {{2, {{10.5, 0}, {11, 40}, {30, 40}}}});
    EXPECT_EQ(Parse(three.bytes()).contours.at(0),
              (std::vector<Point>{Screen(11, 0), Screen(11, 20), Screen(11, 40), Screen(30, 40),
                                  Screen(0, 0), Screen(11, 0)}));
}

TEST(ParseOutline, SplineMidpointTruncatesTowardZero) {
    // Raw x values -65537 and 0: (-65537 + 0) / 2 = -32768, which rounds to 0;
    // a floored -32769 would round to -1. Likewise for y.
    OutlineBuilder b;
    b.U32(44).U32(24).U32(0).U32(0).U16(2).U16(3);
    b.U32(static_cast<std::uint32_t>(-65537)).U32(0);  // q0 (-1.0000153, 0)
    b.U32(0).U32(static_cast<std::uint32_t>(-65537));  // q1 (0, -1.0000153)
    b.U32(0).U32(0);                                   // q2
    const Parsed p = Parse(b.bytes());
    ASSERT_EQ(p.status, OutlineStatus::Ok);
    EXPECT_EQ(p.contours.at(0), (std::vector<Point>{Screen(-1, 0), Screen(0, 0), Screen(0, -1),
                                                    Screen(0, 0), Screen(0, 0), Screen(-1, 0)}));
}

TEST(ParseOutline, Transform) {
    OutlineBuilder b;
    b.Polygon(10, 100, {{1, {{0, 0}}}});
    const Parsed p = Parse(b.bytes());
    ASSERT_EQ(p.status, OutlineStatus::Ok);
    EXPECT_EQ(p.contours.at(0), (std::vector<Point>{{-3, 110}, {7, 10}, {-3, 110}}));
}

TEST(ParseOutline, UnknownCurveTypeIsSkippedByItsLength) {
    OutlineBuilder b;
    b.Polygon(0, 0, {{7, {{1, 1}, {2, 2}}}, {1, {{5, 5}}}});
    EXPECT_EQ(Parse(b.bytes()).contours.at(0),
              (std::vector<Point>{Screen(5, 5), Screen(0, 0), Screen(5, 5)}));
}

TEST(ParseOutline, EmptyRecordHasNoContours) {
    const Parsed p = Parse({});
    EXPECT_EQ(p.status, OutlineStatus::Ok);
    EXPECT_TRUE(p.contours.empty());
}

Curve Line(int n) {
    Curve c{1, {}};
    for (int i = 0; i < n; ++i) c.points.emplace_back(i, i);
    return c;
}

TEST(ParseOutline, LimitsAreInclusive) {
    OutlineBuilder full;  // five contours of 100 points: 500 in all
    for (int c = 0; c < 5; ++c) full.Polygon(0, 0, {Line(98)});
    const Parsed p = Parse(full.bytes());
    ASSERT_EQ(p.status, OutlineStatus::Ok);
    EXPECT_EQ(p.contours.size(), 5u);
    EXPECT_EQ(p.contours[4].size(), 100u);

    OutlineBuilder many;
    for (int c = 0; c < 50; ++c) many.Polygon(0, 0, {});
    EXPECT_EQ(Parse(many.bytes()).contours.size(), 50u);
}

TEST(ParseOutline, RejectsOutlinesBeyondTheArrays) {
    OutlineBuilder points;  // 6 x 90 = 540 points
    for (int c = 0; c < 6; ++c) points.Polygon(0, 0, {Line(88)});
    EXPECT_EQ(Parse(points.bytes()).status, OutlineStatus::TooManyPoints);

    OutlineBuilder contours;
    for (int c = 0; c < 51; ++c) contours.Polygon(0, 0, {});
    EXPECT_EQ(Parse(contours.bytes()).status, OutlineStatus::TooManyContours);

    OutlineBuilder longContour;  // 99 + 2 closing points
    longContour.Polygon(0, 0, {Line(99)});
    EXPECT_EQ(Parse(longContour.bytes()).status, OutlineStatus::ContourTooLong);

    OutlineBuilder longSpline;  // a spline of 60 points adds 118
    Curve spline = Line(60);
    spline.type = 2;
    longSpline.Polygon(0, 0, {spline});
    EXPECT_EQ(Parse(longSpline.bytes()).status, OutlineStatus::ContourTooLong);
}

TEST(ParseOutline, RejectsSplinesOfFewerThanTwoPoints) {
    for (int n : {0, 1}) {
        OutlineBuilder b;
        Curve c = Line(n);
        c.type = 2;
        b.Polygon(0, 0, {c});
        EXPECT_EQ(Parse(b.bytes()).status, OutlineStatus::ShortSpline) << n << " points";
    }
}

TEST(ParseOutline, RejectsCurveRecordRunningPastItsPolygon) {
    OutlineBuilder b;  // polygon of 16 + 4 + 16 bytes, curve claims 5 points
    b.U32(36).U32(24).U32(0).U32(0).U16(1).U16(5).U32(0).U32(0).U32(0).U32(0);
    b.Rectangle(0, 0, 10, 10);  // more bytes behind it in the record
    EXPECT_EQ(Parse(b.bytes()).status, OutlineStatus::CurvePastPolygon);

    OutlineBuilder stub;  // two bytes left in the polygon: not even a curve header
    stub.U32(18).U32(24).U32(0).U32(0).U16(1);
    EXPECT_EQ(Parse(stub.bytes()).status, OutlineStatus::CurvePastPolygon);
}

TEST(ParseOutline, RejectsBadPolygonSizes) {
    for (std::uint32_t size : {0u, 8u, 15u}) {
        OutlineBuilder b;
        b.U32(size).U32(24).U32(0).U32(0);
        EXPECT_EQ(Parse(b.bytes()).status, OutlineStatus::BadPolygonSize) << size;
    }
    OutlineBuilder past;
    past.U32(17).U32(24).U32(0).U32(0);
    EXPECT_EQ(Parse(past.bytes()).status, OutlineStatus::PolygonPastRecord);

    OutlineBuilder truncated;  // a header cut short by the record's end
    truncated.Rectangle(0, 0, 1, 1).U32(16).U32(24);
    EXPECT_EQ(Parse(truncated.bytes()).status, OutlineStatus::PolygonPastRecord);
}

}  // namespace
