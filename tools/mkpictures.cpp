// Writes the picture files that lie beside the program: speaker1.bmp, the
// program icon as PNG, and the desktop icons rendered from the scalable icon;
// or, for a lesson of one's own, its icons: its first character drawn on the
// program icon's tile as the program icon draws 大.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/pictures.h"

namespace {

// The desktop menu's sizes beside the 32 x 32 program icon.
const std::vector<int> kIconSizes = {48, 64, 128};

// Renders the SVG at each size into folder/NxN/apps/tallowfern.png, the
// layout of an icon theme.
bool WriteIcons(QSvgRenderer& renderer, const std::vector<int>& sizes, const std::string& folder) {
    for (const int size : sizes) {
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

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The program icon draws 大 with white lines 9 wide on its 128 x 128 tile; a
// character's strokes are the centre lines of hanzi-writer-data (1024 units,
// y up from -124 to 900), drawn 100 units to 1024 from a 14-unit margin,
// thinner when they are many.
constexpr double kIconScale = 100.0 / 1024.0;
constexpr double kIconMargin = 14.0;
constexpr double kIconTop = 900.0;
constexpr std::size_t kFullWidthStrokes = 6;
constexpr double kStrokeWidth = 9.0;

QString Point(const QJsonArray& p) {
    return QString("%1 %2")
        .arg(kIconMargin + p[0].toDouble() * kIconScale, 0, 'f', 1)
        .arg(kIconMargin + (kIconTop - p[1].toDouble()) * kIconScale, 0, 'f', 1);
}

QString Midpoint(const QJsonArray& a, const QJsonArray& b) {
    return Point(QJsonArray{(a[0].toDouble() + b[0].toDouble()) / 2,
                            (a[1].toDouble() + b[1].toDouble()) / 2});
}

// One path a stroke: its centre line, the corners rounded by quadratic
// curves through the midpoints of its segments.
QString StrokePaths(const QJsonArray& medians) {
    const std::size_t count = static_cast<std::size_t>(medians.size());
    const double width = count <= kFullWidthStrokes
                             ? kStrokeWidth
                             : kStrokeWidth * std::sqrt(double(kFullWidthStrokes) / double(count));
    QString paths;
    for (const QJsonValue& stroke : medians) {
        const QJsonArray points = stroke.toArray();
        if (points.isEmpty()) continue;
        QString d = "M" + Point(points[0].toArray());
        for (qsizetype i = 1; i + 1 < points.size(); ++i)
            d += " Q" + Point(points[i].toArray()) + " " +
                 Midpoint(points[i].toArray(), points[i + 1].toArray());
        d += " L" + Point(points.last().toArray());
        paths += QString("    <path d=\"%1\" stroke-width=\"%2\"/>\n").arg(d).arg(width, 0, 'f', 1);
    }
    return paths;
}

// The lesson's icons from the program icon's SVG (tile) and the first
// character of lesson: folder/tallowfern.svg and its renderings at 32, 48, 64
// and 128 pixels.
bool WriteLessonIcons(const char* tile, const char* strokeData, const char* lesson,
                      const std::string& folder) {
    const QList<uint> characters = QString::fromUtf8(lesson).toUcs4();
    if (characters.isEmpty() || QChar::script(characters[0]) != QChar::Script_Han) {
        std::fprintf(stderr, "mkpictures: the lesson \"%s\" does not begin with a hanzi\n", lesson);
        return false;
    }
    const char32_t first = characters[0];
    const QString character = QString::fromUcs4(&first, 1);
    const QString jsonPath = QString::fromLocal8Bit(strokeData) + "/" + character + ".json";
    const QJsonArray medians =
        QJsonDocument::fromJson(ReadAll(jsonPath)).object().value("medians").toArray();
    QString svg = QString::fromUtf8(ReadAll(QString::fromLocal8Bit(tile)));
    const qsizetype open = svg.indexOf('>', svg.indexOf("<g "));
    const qsizetype close = svg.indexOf("</g>");
    if (medians.isEmpty() || open < 0 || close < open) {
        std::fprintf(stderr, "mkpictures: no strokes of %s in %s, or no <g> in %s\n",
                     character.toUtf8().constData(), jsonPath.toUtf8().constData(), tile);
        return false;
    }
    svg = svg.left(open + 1) + "\n" + StrokePaths(medians) + "  " + svg.mid(close);
    svg.replace("the character 大", "the character " + character);
    const QString svgPath = QString::fromStdString(folder + "/tallowfern.svg");
    QFile out(svgPath);
    if (!QDir().mkpath(QString::fromStdString(folder)) || !out.open(QIODevice::WriteOnly) ||
        out.write(svg.toUtf8()) < 0) {
        std::fprintf(stderr, "mkpictures: cannot write %s\n", svgPath.toUtf8().constData());
        return false;
    }
    out.close();
    QSvgRenderer renderer{svg.toUtf8()};
    return renderer.isValid() && WriteIcons(renderer, {32, 48, 64, 128}, folder);
}

}  // namespace

int main(int argc, char** argv) {
    const bool lesson = argc == 6 && argv[1] == std::string("--lesson-icon");
    if (argc != 3 && argc != 5 && !lesson) {
        std::fprintf(stderr,
                     "usage: mkpictures SPEAKER.bmp ICON.png [ICON.svg FOLDER]\n"
                     "       mkpictures --lesson-icon ICON.svg STROKE_DATA_DIR LESSON FOLDER\n");
        return 2;
    }
    QGuiApplication app(argc, argv);  // the SVG renderer needs fonts and a platform
    if (lesson) return WriteLessonIcons(argv[2], argv[3], argv[4], argv[5]) ? 0 : 1;
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
    if (argc == 5) {
        QSvgRenderer renderer{QString::fromLocal8Bit(argv[3])};
        if (!renderer.isValid()) {
            std::fprintf(stderr, "mkpictures: cannot read %s\n", argv[3]);
            return 1;
        }
        if (!WriteIcons(renderer, kIconSizes, argv[4])) return 1;
    }
    return 0;
}
