#include "app/runtime/canvas.h"

#include <QImage>
#include <cstdlib>

namespace {

QRgb ToRgb(Colour c) {
    return qRgb(c.r, c.g, c.b);
}

}  // namespace

Canvas::Canvas(QImage& image) : image_(&image) {}

int Canvas::Width() const {
    return image_->width();
}
int Canvas::Height() const {
    return image_->height();
}

void Canvas::MoveTo(int x, int y) {
    position_ = {x, y};
}

void Canvas::SetPixel(int x, int y, Colour colour) {
    if (x < 0 || y < 0 || x >= image_->width() || y >= image_->height()) return;
    image_->setPixel(x, y, ToRgb(colour));
}

Colour Canvas::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= image_->width() || y >= image_->height()) return {};
    const QRgb p = image_->pixel(x, y);
    return RGB(static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
               static_cast<std::uint8_t>(qBlue(p)));
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
        FillPolygonSpans(points, image_->width(), image_->height(), [&](int y, int x0, int x1) {
            for (int x = x0; x < x1; ++x) image_->setPixel(x, y, fill);
        });
    }
    if (pen.style != PenStyle::Clear) {
        const Point saved = position_;
        MoveTo(points.back().x, points.back().y);
        for (const Point& p : points) LineTo(p.x, p.y);
        position_ = saved;
    }
}
