#include "app/runtime/polygon_fill.h"

#include <algorithm>
#include <cmath>
#include <vector>

void FillPolygonSpans(std::span<const Point> points, int width, int height,
                      const std::function<void(int y, int x0, int x1)>& span) {
    const std::size_t n = points.size();
    if (n < 3 || width <= 0 || height <= 0) return;

    int top = points[0].y;
    int bottom = points[0].y;
    for (const Point& p : points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    const int firstRow = std::max(top, 0);
    const int lastRow = std::min(bottom, height - 1);

    std::vector<double> crossings;
    for (int y = firstRow; y <= lastRow; ++y) {
        const double yc = y + 0.5;
        crossings.clear();
        for (std::size_t i = 0; i < n; ++i) {
            const Point& a = points[i];
            const Point& b = points[(i + 1) % n];
            if (a.y == b.y) continue;
            const bool down = a.y < b.y;
            const Point& lo = down ? a : b;
            const Point& hi = down ? b : a;
            if (yc < lo.y || yc >= hi.y) continue;
            crossings.push_back(lo.x + (yc - lo.y) * (hi.x - lo.x) / double(hi.y - lo.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            // Pixels whose centre x + 0.5 lies in [left, right).
            int x0 = static_cast<int>(std::ceil(crossings[i] - 0.5));
            int x1 = static_cast<int>(std::ceil(crossings[i + 1] - 0.5));
            x0 = std::max(x0, 0);
            x1 = std::min(x1, width);
            if (x0 < x1) span(y, x0, x1);
        }
    }
}
