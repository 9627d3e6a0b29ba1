// Writes the picture files that lie beside the program: speaker1.bmp, the
// program icon as PNG, and the desktop icons rendered from the scalable icon.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <string>

#include "app/pictures.h"

namespace {

// The desktop menu's sizes beside the 32 x 32 program icon.
constexpr int kIconSizes[] = {48, 64, 128};

// Renders svg at each size into folder/NxN/apps/tallowfern.png, the layout
// of an icon theme.
bool WriteIcons(const char* svg, const std::string& folder) {
    QSvgRenderer renderer{QString::fromLocal8Bit(svg)};
    if (!renderer.isValid()) {
        std::fprintf(stderr, "mkpictures: cannot read %s\n", svg);
        return false;
    }
    for (const int size : kIconSizes) {
        QImage icon(size, size, QImage::Format_ARGB32);
        icon.fill(Qt::transparent);
        QPainter painter(&icon);
        renderer.render(&painter);
        painter.end();
        const std::string dir =
            folder + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        const std::string path = dir + "/tallowfern.png";
        if (!QDir().mkpath(QString::fromStdString(dir)) ||
            !icon.save(QString::fromStdString(path), "PNG")) {
            std::fprintf(stderr, "mkpictures: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: mkpictures SPEAKER.bmp ICON.png [ICON.svg FOLDER]\n");
        return 2;
    }
    QGuiApplication app(argc, argv);  // the SVG renderer needs fonts and a platform
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
    if (argc == 5 && !WriteIcons(argv[3], argv[4])) return 1;
    return 0;
}
