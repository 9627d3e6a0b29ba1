// The main and phrase windows at the display scale of QT_SCALE_FACTOR (ctest
// runs it at 1, 1.25, 1.5 and 2): controls in logical pixels, glyphs and the
// card's strokes drawn on device pixels as the windows show them.
#include <QPolygonF>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "app/Main.h"
#include "app/runtime/clock.h"
#include "app/runtime/controls.h"
#include "data/descramble.h"
#include "data/lesson_file.h"
#include "glyph/char_index.h"
#include "glyph/outline.h"
#include "glyph/strokes.h"
#include "phrase/Phrase.h"
#include "phrase/phrase_search.h"
#include "tests/support/font_record.h"
#include "tests/support/ink.h"
#include "tests/support/window_glyphs.h"
#include "tests/support/windows.h"

namespace {

// The share of device pixel (dx, dy) that ink covers, from 8 x 8 sample points:
// exact when the font pixels' edges fall on eighths of a device pixel, as they
// do at scales 1, 1.25, 1.5 and 2.
double SampledInk(const std::vector<std::uint8_t>& record, int x, int y, double s, int dx, int dy) {
    int inked = 0;
    for (int i = 0; i < 64; ++i) {
        const double u = (dx + (i % 8 + 0.5) / 8) / s - x;
        const double v = (dy + (i / 8 + 0.5) / 8) / s - y;
        inked += u >= 0 && v >= 0 && u < 24 && v < 24 && Ink(record, int(u), int(v));
    }
    return inked / 64.0;
}

}  // namespace

class DisplayScaleTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void controlsKeepTheirLogicalPlaces();
    void glyphsCoverTheirAreaOfDevicePixels();
    void cardStrokesAreFilledAtDeviceResolution();

private:
    // A window painted at the screen's scale, and a widget's first device pixel in its window.
    static QImage Screen(QWidget* window) {
        return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QPoint DeviceOrigin(QWidget* widget) const {
        const QPointF at = QPointF(widget->mapTo(widget->window(), QPoint(0, 0))) * scale_;
        return {qRound(at.x()), qRound(at.y())};
    }

    TForm1* form_ = nullptr;
    double scale_ = 1;
    std::vector<std::string> messages_;
    std::uint32_t now_ = 0;
};

void DisplayScaleTest::init() {
    SetClock({.ticks = [this] { return now_ += kStrokeWaitMs; }});
    form_ = OpenMainWindow(messages_, AlsoCreate::PhraseWindow);
    QVERIFY(form_);
    std::strcpy(PhraseWords[0], "\xB4\xF3\xBC\xD2");  // 大家
    PhraseWords[1][0] = '\0';
    FrmPhrase->show();
    QVERIFY(QTest::qWaitForWindowExposed(FrmPhrase));
    scale_ = form_->devicePixelRatioF();
    QCOMPARE(scale_, qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
}

void DisplayScaleTest::cleanup() {
    const bool quiet = messages_.empty();
    CloseMainWindow();
    SetClock({});
    QVERIFY(quiet);
}

void DisplayScaleTest::controlsKeepTheirLogicalPlaces() {
    QCOMPARE(form_->Client->size(), QSize(632, 358));
    QCOMPARE(form_->Image6->mapTo(form_->Client, QPoint(0, 0)), QPoint(0, 32));
    QCOMPARE(form_->Image6->size(), QSize(129, 133));
    QCOMPARE(form_->Memo1->geometry(), QRect(135, 164, 441, 49));
    QCOMPARE(form_->Label10->geometry(), QRect(135, 228, 233, 20));
    QCOMPARE(FrmPhrase->size(), QSize(552, 235));
    QCOMPARE(FrmPhrase->WordPanel(0)->geometry(), QRect(40, 6, 83, 29));
    QCOMPARE(FrmPhrase->Memo1->mapTo(FrmPhrase, QPoint(0, 0)), QPoint(100, 165));
    // The separator of row 80 covers logical rows 79 and 80, from x 131 on.
    const QImage screen = Screen(form_);
    const QPoint o = DeviceOrigin(form_->Client);
    const auto edge = [this](int v) { return int(std::floor(v * scale_ + 0.5)); };
    for (int y = edge(79); y < edge(81); ++y)
        QCOMPARE(screen.pixel(o.x() + edge(131), o.y() + y), qRgb(255, 190, 125));
    QCOMPARE(screen.pixel(o.x() + edge(131), o.y() + edge(81)), qRgb(255, 255, 255));
}

// Each font pixel inks its own s x s area of device pixels: exact 2 x 2 blocks
// at scale 2; at 1.25 and 1.5 every stroke of one font pixel shows the same
// ink across, s device pixels (a nearest-neighbour scale shows 1 or 2).
void DisplayScaleTest::glyphsCoverTheirAreaOfDevicePixels() {
    struct Shown {
        std::string code;
        QWidget* on;
        int x, y;
        QRgb ink, paper;  // the paper's green tells the ink's share: 1 - green / paper's
    };
    std::vector<Shown> glyphs;
    for (const CaptionGlyph& g : CaptionGlyphs())
        glyphs.push_back({g.code, form_->Client, g.x, g.y, qRgb(0, 0, 255), qRgb(255, 255, 255)});
    TImage* const buttons[] = {form_->Image1, form_->Image2, form_->Image3, form_->Image4,
                               form_->Image5};
    for (int i = 0; i < 5; ++i)
        glyphs.push_back({kLessonCodes[i], buttons[i], 1, 1, qRgb(255, 0, 0), qRgb(240, 240, 240)});
    for (int i = 0; i < 2; ++i)
        glyphs.push_back({std::string(PhraseWords[0] + 2 * i, 2), FrmPhrase->Image1, 1 + 25 * i, 1,
                          qRgb(255, 0, 0), qRgb(240, 240, 240)});
    const bool whole = scale_ == std::floor(scale_);
    double thinnest = 99, widest = 0;
    int wrong = 0;
    for (const Shown& g : glyphs) {
        const std::vector<std::uint8_t> record = FontRecord("dat/hzk24k.dat", g.code);
        QCOMPARE(record.size(), std::size_t{72});
        const QImage screen = Screen(g.on->window());
        const QPoint o = DeviceOrigin(g.on);
        const auto share = [&](int dx, int dy) {
            return 1 - qGreen(screen.pixel(o.x() + dx, o.y() + dy)) / double(qGreen(g.paper));
        };
        const int from = int(std::floor(g.x * scale_)), to = int(std::ceil((g.x + 24) * scale_));
        const int top = int(std::floor(g.y * scale_)), bottom = int(std::ceil((g.y + 24) * scale_));
        for (int dy = top; dy < bottom; ++dy) {
            for (int dx = from; dx < to; ++dx) {
                const double ink = SampledInk(record, g.x, g.y, scale_, dx, dy);
                // A cell's uninked border pixels are partly what lies beside it.
                const bool border = dx == from || dx == to - 1 || dy == top || dy == bottom - 1;
                wrong += whole ? screen.pixel(o.x() + dx, o.y() + dy) != (ink > 0 ? g.ink : g.paper)
                               : std::abs(share(dx, dy) - ink) >= 2.0 / 255 && (ink > 0 || !border);
            }
        }
        // Strokes one font pixel wide with clear sides, three font rows tall:
        // their ink summed across a device row inside the middle one.
        for (int r = 1; r < 23; ++r) {
            for (int c = 1; c < 23; ++c) {
                bool stroke = true;
                for (int k = r - 1; k <= r + 1; ++k)
                    stroke &= Ink(record, c, k) && !Ink(record, c - 1, k) && !Ink(record, c + 1, k);
                if (!stroke) continue;
                double across = 0;
                for (int dx = int((g.x + c) * scale_); dx < std::ceil((g.x + c + 1) * scale_); ++dx)
                    across += share(dx, int((g.y + r + 0.5) * scale_));
                thinnest = std::min(thinnest, across);
                widest = std::max(widest, across);
            }
        }
    }
    qInfo("one-pixel strokes at scale %g: %.3f to %.3f device pixels across, %d pixels wrong",
          scale_, thinnest, widest, wrong);
    QVERIFY(std::abs(thinnest - scale_) < 0.02 && std::abs(widest - scale_) < 0.02);
    QCOMPARE(wrong, 0);
}

// 大 written on the card: its picture holds device pixels, inked where the
// lesson's outline (each contour even-odd) holds a device pixel's centre.
void DisplayScaleTest::cardStrokesAreFilledAtDeviceResolution() {
    QTest::mouseClick(form_->Image1, Qt::LeftButton);
    QCOMPARE(form_->Label8->text(), QString("3"));
    const QImage picture = form_->Image6->Picture();
    QCOMPARE(picture.devicePixelRatio(), scale_);
    QCOMPARE(picture.size(), QSize(int(std::ceil(129 * scale_)), int(std::ceil(133 * scale_))));

    std::int64_t offset = 0;
    CharIndexDecoded entry;
    for (const CharIndexEntry& e : CharIndexTable) {
        entry = DecodeCharIndexEntry(e);
        if (entry.code == 0xB4F3) break;
        offset += entry.size;
    }
    lesson_file::ReadResult read =
        lesson_file::ReadRange(lesson_file::kPath, std::uint64_t(offset), std::size_t(entry.size));
    QCOMPARE(read.status, lesson_file::ReadStatus::Ok);
    DescrambleStream(read.bytes.data(), read.bytes.size(), kOutlineFirstKeyIndex);
    OutlinePoints points;
    ContourCounts counts{};
    std::uint16_t contours = 0;
    QCOMPARE(ParseOutline(read.bytes, points, counts, contours), OutlineStatus::Ok);
    std::vector<QPolygonF> polygons;
    for (std::size_t c = 0, next = 0; c < contours; next += counts[c++]) {
        polygons.emplace_back();
        for (std::size_t i = next; i < next + counts[c]; ++i)
            polygons.back() << QPointF(points[i].x, points[i].y);
    }
    // A centre on an edge may go either way (the fill takes left and top edges
    // in, containsPoint rounds its own way): a pixel differs when the outline
    // holds none or all of four points a millionth of a pixel around its centre.
    const auto inside = [&](QPointF p) {
        bool in = false;
        for (const QPolygonF& polygon : polygons) in |= polygon.containsPoint(p, Qt::OddEvenFill);
        return in;
    };
    int ink = 0, differ = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QPointF centre((x + 0.5) / scale_, (y + 0.5) / scale_);
            const bool black = picture.pixel(x, y) == qRgb(0, 0, 0);
            ink += black;
            int near = 0;
            for (const QPointF d : {QPointF(1, 1), QPointF(1, -1), QPointF(-1, 1), QPointF(-1, -1)})
                near += inside(centre + d * 1e-6);
            differ += black ? near == 0 : near == 4;
        }
    }
    qInfo("card at scale %g: %d ink pixels, %d differ from the outline", scale_, ink, differ);
    QVERIFY(ink > 300 * scale_ * scale_);
    QCOMPARE(differ, 0);
    // The screen shows the picture pixel for pixel.
    const QPoint o = DeviceOrigin(form_->Image6);
    const QImage screen = Screen(form_);
    QCOMPARE(InkPixels(screen.copy(QRect(o, picture.size()))), ink);
    if (const QString dir = qEnvironmentVariable("TF_SCREENSHOT_DIR"); !dir.isEmpty())
        screen.save(QString("%1/card-%2.png").arg(dir).arg(scale_ * 100));
}

QTEST_MAIN(DisplayScaleTest)
#include "display_scale_test.moc"
