// Pixels of pictures as the tests read them back.
#pragma once

#include <QImage>

#include "app/runtime/canvas.h"

// The colour of pixel (x, y) of a picture of device pixel ratio 1; black
// outside it.
inline Colour PixelColour(const QImage& picture, int x, int y) {
    if (!picture.valid(x, y)) return {};
    const QRgb p = picture.pixel(x, y);
    return RGB(static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
               static_cast<std::uint8_t>(qBlue(p)));
}

// Black pixels of a picture: the strokes drawn so far.
inline int InkPixels(const QImage& picture) {
    int ink = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) == qRgb(0, 0, 0)) ++ink;
    return ink;
}
