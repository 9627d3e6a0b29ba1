#include "app/runtime/canvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <tuple>

namespace {

bool Inked(const QImage& image, int x, int y) {
    return image.pixel(x, y) == qRgb(0, 0, 0);
}

// The square (1, 1)-(3, 3) at device scale: a device pixel is inked when its
// centre, divided by the scale, is inside. Rows and columns 1 to 3 at 1.25
// (centres 1.2, 2.0, 2.8) and 1.5 (1.0, 1.67, 2.33), 2 to 5 at 2.
TEST(CanvasPolygon, FillsAtTheImagesDevicePixelRatio) {
    const Point square[] = {{1, 1}, {3, 1}, {3, 3}, {1, 3}};
    for (const auto& [scale, first, last] : {std::tuple{1.25, 1, 3}, {1.5, 1, 3}, {2.0, 2, 5}}) {
        QImage image(12, 12, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setDevicePixelRatio(scale);
        Canvas canvas(image);
        canvas.pen.style = PenStyle::Clear;
        canvas.brush.colour = kBlack;
        canvas.Polygon(square);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x)
                EXPECT_EQ(Inked(image, x, y), x >= first && x <= last && y >= first && y <= last)
                    << scale << ": " << x << "," << y;
    }
}

// A five-pointed star drawn in one ring: the pentagon (50, 5), (93, 36), (76, 86),
// (24, 86), (7, 36) taken every second corner. Its middle is crossed twice on
// the way out, so the alternate rule leaves it empty (winding would fill it).
TEST(CanvasPolygon, SelfCrossingRingLeavesItsMiddleEmpty) {
    const Point star[] = {{50, 5}, {76, 86}, {7, 36}, {93, 36}, {24, 86}};
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    Canvas canvas(image);
    canvas.pen.style = PenStyle::Clear;
    canvas.brush.colour = kBlack;
    canvas.Polygon(star);

    // The middle pentagon, corners (40, 36), (60, 36), (66.2, 55.4), (50, 67.2), (33.8, 55.4).
    for (const Point p :
         {Point{50, 50}, Point{42, 38}, Point{57, 38}, Point{62, 54}, Point{50, 63}, Point{37, 54}})
        EXPECT_FALSE(Inked(image, p.x, p.y)) << p.x << "," << p.y;
    // A pixel inside each of the five points.
    for (const Point p :
         {Point{50, 12}, Point{86, 38}, Point{72, 80}, Point{27, 80}, Point{13, 38}})
        EXPECT_TRUE(Inked(image, p.x, p.y)) << p.x << "," << p.y;
    // Outside the star, between two points.
    EXPECT_FALSE(Inked(image, 50, 90));
    EXPECT_FALSE(Inked(image, 80, 20));
}

}  // namespace
