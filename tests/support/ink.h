// Black pixels of a picture: the strokes drawn so far.
#pragma once

#include <QImage>

inline int InkPixels(const QImage& picture) {
    int ink = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) == qRgb(0, 0, 0)) ++ink;
    return ink;
}
