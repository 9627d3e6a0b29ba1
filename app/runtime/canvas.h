// A drawing surface over a 24-bit image: pen, brush, lines, pixels, polygons.
//
// Colours are exact RGB; nothing is antialiased.
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

    int Width() const;
    int Height() const;

    void MoveTo(int x, int y);
    void LineTo(int x, int y);                   // with the pen, from the pen position; moves it
    void SetPixel(int x, int y, Colour colour);  // outside the image: nothing
    Colour Pixel(int x, int y) const;
    // Fills the inside with the brush (even-odd, pixel centres), outlines with the pen.
    void Polygon(std::span<const Point> points);

private:
    QImage* image_;
    Point position_;
};
