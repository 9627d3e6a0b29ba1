// A drawing surface over a 24-bit image: pen, brush, lines, pixels, polygons.
//
// Coordinates are logical pixels. The image may hold more device pixels than
// that (its device pixel ratio s): a logical pixel is then the block of device
// pixels from round(x * s) to round((x + 1) * s), polygons are filled at device
// resolution, and bitmaps are blended by the area of each device pixel they
// cover. Colours are exact RGB; at whole scales nothing is antialiased.
#pragma once

#include <cstdint>
#include <span>

#include "app/runtime/polygon_fill.h"

class QImage;

struct Colour {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

inline constexpr Colour RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return {r, g, b};
}

inline constexpr Colour kBlue = RGB(0, 0, 255);
inline constexpr Colour kRed = RGB(255, 0, 0);
inline constexpr Colour kBlack = RGB(0, 0, 0);
inline constexpr Colour kSeparator = RGB(255, 190, 125);

enum class PenStyle { Solid, Clear };
enum class PenMode { Copy, Black };  // Black: every pixel the pen draws is black
enum class BrushStyle { Solid, Clear };

struct Pen {
    Colour colour = kBlack;
    PenStyle style = PenStyle::Solid;
    PenMode mode = PenMode::Copy;
    int width = 1;
};

struct Brush {
    Colour colour = RGB(255, 255, 255);
    BrushStyle style = BrushStyle::Solid;
};

class Canvas {
public:
    // Draws into image (kept by the caller; must outlive the canvas).
    explicit Canvas(QImage& image);

    Pen pen;
    Brush brush;

    int Width() const;  // logical pixels
    int Height() const;
    double Scale() const;  // device pixels to a logical pixel

    void MoveTo(int x, int y);
    void LineTo(int x, int y);                   // with the pen, from the pen position; moves it
    void SetPixel(int x, int y, Colour colour);  // outside the image: nothing
    // Fills the inside with the brush (even-odd, pixel centres), outlines with the pen.
    void Polygon(std::span<const Point> points);
    // A bitmap of columns x rows logical pixels at (x, y), a byte a pixel, nonzero
    // for ink: each device pixel takes colour by the share of its area the ink
    // covers (the ink's pixels exactly at scale 1, whole blocks at whole scales,
    // every pixel's ink of equal weight at the scales between). The rest is left.
    void Bitmap(int x, int y, int columns, int rows, std::span<const std::uint8_t> ink,
                Colour colour);

private:
    QImage* image_;
    Point position_;
};
