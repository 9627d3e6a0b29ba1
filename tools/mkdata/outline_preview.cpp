// outline_preview <hanzi-writer-data dir> <out.png> [characters [budget]]
//
// One row per lesson character: the fitted contours filled as the program fills them
// (a colour per stroke, numbered by writing step through the stroke order), the source
// strokes rasterised at card scale (numbered in source order), and their difference
// (black both, red fitted only, blue source only). Lessons that mkdata refuses for a
// character drawn below the floor are drawn too, so that one can see why.
#include <QColor>
#include <QImage>
#include <array>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/lesson_file.h"
#include "tools/mkdata/gb2312.h"
#include "tools/mkdata/lesson_input.h"
#include "tools/mkdata/outlines.h"

namespace {

constexpr int kZoom = 3;
constexpr int kGap = 6;
constexpr int kPanelWidth = kCardWidth * kZoom;
constexpr int kPanelHeight = kCardHeight * kZoom;

// 3 x 5 digits, one row of three bits per line.
constexpr std::array<std::array<int, 5>, 10> kDigits = {{
    {7, 5, 5, 5, 7},
    {2, 6, 2, 2, 7},
    {7, 1, 7, 4, 7},
    {7, 1, 7, 1, 7},
    {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7},
    {7, 4, 7, 5, 7},
    {7, 1, 1, 1, 1},
    {7, 5, 7, 5, 7},
    {7, 5, 7, 1, 7},
}};

QColor StrokeColour(std::size_t step) {
    return QColor::fromHsv(static_cast<int>((step * 137) % 360), 200, 220);
}

void DrawNumber(QImage& image, int left, int top, int number) {
    constexpr int kDot = 3;
    const std::string text = std::to_string(number);
    const int width = static_cast<int>(text.size()) * 4 * kDot + kDot;
    for (int y = -kDot; y < 5 * kDot + kDot; ++y)
        for (int x = -kDot; x < width; ++x)
            if (image.valid(left + x, top + y)) image.setPixelColor(left + x, top + y, Qt::white);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto& glyph = kDigits[static_cast<std::size_t>(text[i] - '0')];
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 3; ++col)
                if (glyph[static_cast<std::size_t>(row)] & (4 >> col))
                    for (int dy = 0; dy < kDot; ++dy)
                        for (int dx = 0; dx < kDot; ++dx) {
                            const int x = left + (static_cast<int>(i) * 4 + col) * kDot + dx;
                            const int y = top + row * kDot + dy;
                            if (image.valid(x, y)) image.setPixelColor(x, y, Qt::black);
                        }
    }
}

void FillPixel(QImage& image, int panelLeft, int panelTop, int x, int y, QColor colour) {
    for (int dy = 0; dy < kZoom; ++dy)
        for (int dx = 0; dx < kZoom; ++dx)
            image.setPixelColor(panelLeft + x * kZoom + dx, panelTop + y * kZoom + dy, colour);
}

// Strokes painted in writing order, each numbered at its centre.
void DrawStrokes(QImage& image, int left, int top, const std::vector<CardMask>& strokes) {
    for (std::size_t s = 0; s < strokes.size(); ++s)
        for (int y = 0; y < kCardHeight; ++y)
            for (int x = 0; x < kCardWidth; ++x)
                if (strokes[s].at(x, y)) FillPixel(image, left, top, x, y, StrokeColour(s));
    for (std::size_t s = 0; s < strokes.size(); ++s) {
        long sx = 0, sy = 0, n = 0;
        for (int y = 0; y < kCardHeight; ++y)
            for (int x = 0; x < kCardWidth; ++x)
                if (strokes[s].at(x, y)) sx += x, sy += y, ++n;
        if (n > 0)
            DrawNumber(image, left + static_cast<int>(sx * kZoom / n) - 4,
                       top + static_cast<int>(sy * kZoom / n) - 7, static_cast<int>(s + 1));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr,
                     "usage: outline_preview <hanzi-writer-data dir> <out.png> "
                     "[characters [budget]]\n");
        return 2;
    }
    try {
        std::vector<std::uint16_t> codes = ParseLesson(kDefaultLesson).codes;
        if (argc > 3) {
            const auto gb = Gb2312Hanzi(argv[3]);
            if (!gb) throw std::runtime_error(std::string(argv[3]) + ": not GB2312 hanzi");
            codes.clear();
            for (std::size_t i = 0; i < gb->size(); i += 2) codes.push_back(GbCodeAt(*gb, i));
        }
        const std::size_t budget =
            argc > 4 ? std::stoul(argv[4]) : lesson_file::kOutlineSectionSize;
        const OutlineBuild build = BuildOutlines(argv[1], codes, budget, 0.0);
        const int rows = static_cast<int>(build.characters.size());
        QImage image(3 * kPanelWidth + 4 * kGap, rows * (kPanelHeight + kGap) + kGap,
                     QImage::Format_RGB32);
        image.fill(QColor(128, 128, 128));
        for (int r = 0; r < rows; ++r) {
            const CharacterOutline& outline = build.characters[static_cast<std::size_t>(r)];
            const int top = kGap + r * (kPanelHeight + kGap);
            const auto contours = ExpandOutlineRecord(outline.record);
            if (!contours) throw std::runtime_error("malformed record");
            std::vector<CardMask> fitted;
            for (std::uint8_t contour : outline.strokeOrder)
                fitted.push_back(FillContour((*contours)[contour - 1u]));
            const std::vector<CardMask> source = SourceStrokeMasks(argv[1], outline.code);
            int left = kGap;
            for (int panel = 0; panel < 3; ++panel, left += kPanelWidth + kGap)
                for (int y = 0; y < kCardHeight; ++y)
                    for (int x = 0; x < kCardWidth; ++x)
                        FillPixel(image, left, top, x, y, Qt::white);
            DrawStrokes(image, kGap, top, fitted);
            DrawStrokes(image, 2 * kGap + kPanelWidth, top, source);
            CardMask a, b;
            for (std::size_t s = 0; s < fitted.size(); ++s)
                for (std::size_t i = 0; i < a.inside.size(); ++i) {
                    a.inside[i] |= fitted[s].inside[i];
                    if (s < source.size()) b.inside[i] |= source[s].inside[i];
                }
            const int diffLeft = 3 * kGap + 2 * kPanelWidth;
            for (int y = 0; y < kCardHeight; ++y)
                for (int x = 0; x < kCardWidth; ++x) {
                    const bool inA = a.at(x, y), inB = b.at(x, y);
                    if (inA || inB)
                        FillPixel(image, diffLeft, top, x, y,
                                  inA && inB ? QColor(Qt::black)
                                             : (inA ? QColor(Qt::red) : QColor(Qt::blue)));
                }
        }
        if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", argv[2]);
            return 1;
        }
        std::fputs(build.report.c_str(), stdout);
        for (const CharacterOutline& outline : build.characters)
            if (MeasureOutline(outline, argv[1]).iou < kOutlineFloor)
                std::printf("%s: below the floor of %.2f, mkdata refuses this lesson\n",
                            Gb2312Utf8(outline.code).c_str(), kOutlineFloor);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "outline_preview: %s\n", e.what());
        return 1;
    }
    return 0;
}
