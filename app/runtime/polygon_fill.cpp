#include "app/runtime/polygon_fill.h"

#include <algorithm>
#include <cmath>
#include <vector>

void FillPolygonSpans(std::span<const Point> points, int width, int height,
                      const std::function<void(int y, int x0, int x1)>& span, double scale) {
    const std::size_t n = points.size();
    if (n < 3 || width <= 0 || height <= 0 || !(scale > 0)) return;

    // Scaled points: whole or quarter values at the usual scales, so exact.
    struct PointF {
        double x, y;
    };
    std::vector<PointF> scaled(n);
    double top = points[0].y * scale;
    double bottom = top;
    for (std::size_t i = 0; i < n; ++i) {
        scaled[i] = {points[i].x * scale, points[i].y * scale};
        top = std::min(top, scaled[i].y);
        bottom = std::max(bottom, scaled[i].y);
    }
    const int firstRow = static_cast<int>(std::clamp(std::floor(top), 0.0, double(height)));
    const int lastRow = static_cast<int>(std::clamp(std::ceil(bottom), -1.0, height - 1.0));

    std::vector<double> crossings;
    for (int y = firstRow; y <= lastRow; ++y) {
        const double yc = y + 0.5;
        crossings.clear();
        for (std::size_t i = 0; i < n; ++i) {
            const PointF& a = scaled[i];
            const PointF& b = scaled[(i + 1) % n];
            if (a.y == b.y) continue;
            const bool down = a.y < b.y;
            const PointF& lo = down ? a : b;
            const PointF& hi = down ? b : a;
            if (yc < lo.y || yc >= hi.y) continue;
            crossings.push_back(lo.x + (yc - lo.y) * (hi.x - lo.x) / (hi.y - lo.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            // Pixels whose centre x + 0.5 lies in [left, right).
            const int x0 =
                static_cast<int>(std::clamp(std::ceil(crossings[i] - 0.5), 0.0, double(width)));
            const int x1 =
                static_cast<int>(std::clamp(std::ceil(crossings[i + 1] - 0.5), 0.0, double(width)));
            if (x0 < x1) span(y, x0, x1);
        }
    }
}
