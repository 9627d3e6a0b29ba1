#include "app/runtime/canvas.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

QRgb ToRgb(Colour c) {
    return qRgb(c.r, c.g, c.b);
}

// The device pixel where logical coordinate v begins.
int DeviceEdge(int v, double scale) {
    return static_cast<int>(std::floor(v * scale + 0.5));
}

// The logical pixels that many device pixels hold: a picture of logical size n
// is made ceil(n * s) device pixels long.
int LogicalSize(int device, double scale) {
    return static_cast<int>(std::floor(device / scale + 1e-6));
}

struct Share {
    int cell;
    double area;
};

// The cells [0, count) of a bitmap at logical origin, each scale device pixels
// long, that device pixel d overlaps, with the length of each overlap.
std::vector<Share> Shares(int d, int origin, int count, double scale) {
    std::vector<Share> shares;
    const int first = std::max(static_cast<int>(std::floor(d / scale)) - origin, 0);
    const int last = std::min(static_cast<int>(std::floor((d + 1) / scale)) - origin, count - 1);
    for (int c = first; c <= last; ++c) {
        const double from = std::max<double>(d, (origin + c) * scale);
        const double to = std::min<double>(d + 1, (origin + c + 1) * scale);
        if (to > from) shares.push_back({c, to - from});
    }
    return shares;
}

// Colour over the pixel by coverage (0, 1]; alpha of the image composes. Ink of
// the colour already there is not laid twice (a picture drawn again stays as
// it is): the pixel keeps the larger share.
QRgb Blend(QRgb under, Colour colour, double coverage) {
    const int share = static_cast<int>(std::lround(coverage * 255));
    if (qRed(under) == colour.r && qGreen(under) == colour.g && qBlue(under) == colour.b)
        return qRgba(colour.r, colour.g, colour.b, std::max(qAlpha(under), share));
    const double below = qAlpha(under) / 255.0 * (1 - coverage);
    const double alpha = coverage + below;
    const auto mix = [&](int top, int bottom) {
        return static_cast<int>(std::lround((top * coverage + bottom * below) / alpha));
    };
    return qRgba(mix(colour.r, qRed(under)), mix(colour.g, qGreen(under)),
                 mix(colour.b, qBlue(under)), static_cast<int>(std::lround(alpha * 255)));
}

}  // namespace

Canvas::Canvas(QImage& image) : image_(&image) {}

int Canvas::Width() const {
    return LogicalSize(image_->width(), Scale());
}
int Canvas::Height() const {
    return LogicalSize(image_->height(), Scale());
}
double Canvas::Scale() const {
    return image_->devicePixelRatio();
}

void Canvas::MoveTo(int x, int y) {
    position_ = {x, y};
}

void Canvas::SetPixel(int x, int y, Colour colour) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
    const double s = Scale();
    const int right = std::min(DeviceEdge(x + 1, s), image_->width());
    const int bottom = std::min(DeviceEdge(y + 1, s), image_->height());
    for (int dy = DeviceEdge(y, s); dy < bottom; ++dy)
        for (int dx = DeviceEdge(x, s); dx < right; ++dx) image_->setPixel(dx, dy, ToRgb(colour));
}

// Bresenham from the pen position to (x, y), the end point excluded; a pen of
// width w stamps a w x w square at each step, offset by -(w / 2).
void Canvas::LineTo(int x, int y) {
    const Point from = position_;
    position_ = {x, y};
    if (pen.style == PenStyle::Clear) return;
    const Colour colour = pen.mode == PenMode::Black ? kBlack : pen.colour;
    const int w = pen.width < 1 ? 1 : pen.width;
    const int dx = std::abs(x - from.x);
    const int dy = -std::abs(y - from.y);
    const int sx = from.x < x ? 1 : -1;
    const int sy = from.y < y ? 1 : -1;
    int err = dx + dy;
    int cx = from.x;
    int cy = from.y;
    while (cx != x || cy != y) {
        for (int oy = 0; oy < w; ++oy) {
            for (int ox = 0; ox < w; ++ox) SetPixel(cx + ox - w / 2, cy + oy - w / 2, colour);
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            cx += sx;
        }
        if (e2 <= dx) {
            err += dx;
            cy += sy;
        }
    }
}

void Canvas::Polygon(std::span<const Point> points) {
    if (points.empty()) return;
    if (brush.style == BrushStyle::Solid) {
        const QRgb fill = ToRgb(brush.colour);
        FillPolygonSpans(
            points, image_->width(), image_->height(),
            [&](int y, int x0, int x1) {
                for (int x = x0; x < x1; ++x) image_->setPixel(x, y, fill);
            },
            Scale());
    }
    if (pen.style != PenStyle::Clear) {
        const Point saved = position_;
        MoveTo(points.back().x, points.back().y);
        for (const Point& p : points) LineTo(p.x, p.y);
        position_ = saved;
    }
}

void Canvas::Bitmap(int x, int y, int columns, int rows, std::span<const std::uint8_t> ink,
                    Colour colour) {
    if (columns < 1 || rows < 1 ||
        ink.size() < static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows))
        return;
    const double s = Scale();
    // The device pixels the bitmap touches, inside the image.
    const auto within = [](double v, int size) {
        return static_cast<int>(std::clamp(v, 0.0, double(size)));
    };
    const int left = within(std::floor(x * s), image_->width());
    const int right = within(std::ceil((double(x) + columns) * s), image_->width());
    const int top = within(std::floor(y * s), image_->height());
    const int bottom = within(std::ceil((double(y) + rows) * s), image_->height());
    std::vector<std::vector<Share>> across;
    for (int dx = left; dx < right; ++dx) across.push_back(Shares(dx, x, columns, s));
    for (int dy = top; dy < bottom; ++dy) {
        const std::vector<Share> down = Shares(dy, y, rows, s);
        for (int dx = left; dx < right; ++dx) {
            double coverage = 0;
            for (const Share& column : across[static_cast<std::size_t>(dx - left)]) {
                for (const Share& row : down) {
                    if (ink[static_cast<std::size_t>(row.cell * columns + column.cell)] != 0)
                        coverage += column.area * row.area;
                }
            }
            // Shares are sums of products of exact lengths; 1/512 absorbs rounding.
            if (coverage >= 1 - 1.0 / 512)
                image_->setPixel(dx, dy, ToRgb(colour));
            else if (coverage > 1.0 / 512)
                image_->setPixel(dx, dy, Blend(image_->pixel(dx, dy), colour, coverage));
        }
    }
}
