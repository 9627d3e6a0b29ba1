// Writes the picture files that lie beside the program: speaker1.bmp and the
// program icon as PNG (for desktop installs).
#include <QImage>
#include <cstdio>

#include "app/pictures.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkpictures SPEAKER.bmp ICON.png\n");
        return 2;
    }
    // The speaker1.bmp file is a plain 24-bit bitmap: transparent pixels
    // become the button's light grey.
    QImage speaker(SpeakerHoverPicture().size(), QImage::Format_RGB888);
    speaker.fill(QColor(236, 236, 236));
    const QImage hover = SpeakerHoverPicture().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < hover.height(); ++y) {
        for (int x = 0; x < hover.width(); ++x) {
            if (qAlpha(hover.pixel(x, y)) != 0) speaker.setPixel(x, y, hover.pixel(x, y));
        }
    }
    if (!speaker.save(argv[1], "BMP")) {
        std::fprintf(stderr, "mkpictures: cannot write %s\n", argv[1]);
        return 1;
    }
    if (!ProgramIcon().save(argv[2], "PNG")) {
        std::fprintf(stderr, "mkpictures: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
