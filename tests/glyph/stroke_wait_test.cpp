// The card picture's animation over the built lesson data on a fake clock:
// each stroke stays alone on the picture until a second has passed.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "app/runtime/canvas.h"
#include "app/runtime/clock.h"
#include "glyph/strokes.h"
#include "tests/support/ink.h"

class StrokeWaitTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(TF_RUN_DIR)); }
    void cleanup() { SetClock({}); }

    // Each reading of the clock is 333 ms after the one before. A pause begins
    // with the first reading after its stroke is drawn and must last until a
    // reading 1000 ms or more after that: it reads 0, 333, 666, 999 and 1332 ms
    // into itself.
    void eachStrokeWaitsUntil1000MsHavePassed() {
        QImage image(kStrokePictureWidth, kStrokePictureHeight, QImage::Format_RGB32);
        image.fill(Qt::white);
        Canvas canvas(image);
        QWidget picture;
        picture.show();

        struct Reading {
            int ink;
            std::uint32_t ms;
        };
        std::vector<Reading> readings;
        std::uint32_t now = 70000;
        SetClock({.ticks = [&] {
            readings.push_back({InkPixels(image), now});
            now += 333;
            return readings.back().ms;
        }});
        const StrokeAnimation result = AnimateStrokes(canvas, 0xB4F3, &picture);  // 大
        QCOMPARE(result.strokes, 3);
        QVERIFY(result.finished);

        // The readings of each pause, from its start: a new stroke starts the next.
        std::vector<std::vector<std::uint32_t>> pauses;
        int ink = 0;
        std::uint32_t start = 0;
        for (const Reading& r : readings) {
            if (r.ink != ink) {
                QVERIFY(r.ink > ink);
                pauses.emplace_back();
                ink = r.ink;
                start = r.ms;
            }
            pauses.back().push_back(r.ms - start);
        }
        const std::vector<std::uint32_t> pause = {0, 333, 666, 999, 1332};
        QCOMPARE(pauses, std::vector<std::vector<std::uint32_t>>(3, pause));
    }
};

QTEST_MAIN(StrokeWaitTest)
#include "stroke_wait_test.moc"
