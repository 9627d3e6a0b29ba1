// Scan conversion of a closed polygon with the alternate (even-odd) rule.
//
// A pixel (x, y) is inside when its centre (x + 0.5, y + 0.5) is. At a scale s
// the polygon's points are multiplied by s first: a picture of s device pixels
// to a logical one is filled at its own resolution. The program
// fills its stroke contours this way, and the data builder measures its fitted
// outlines with the same rule.
#pragma once

#include <functional>
#include <span>

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Calls span(y, x0, x1) for every run [x0, x1) of inside pixels of row y,
// clipped to the rectangle [0, width) x [0, height) (pixels at the scale).
void FillPolygonSpans(std::span<const Point> points, int width, int height,
                      const std::function<void(int y, int x0, int x1)>& span, double scale = 1.0);
