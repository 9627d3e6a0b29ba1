// The runtime's wait: wrap-safe ticks, events served while it waits, and an
// early end when the picture's window goes away.
#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "app/runtime/clock.h"
#include "app/runtime/runtime.h"

class WaitTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { SetClock({}); }

    void differenceIsWrapSafe() {
        QCOMPARE(TicksSince(0xFFFFFF00u, 0x00000100u), 0x200u);
        QCOMPARE(TicksSince(0xFFFFFFFFu, 0u), 1u);
        QCOMPARE(TicksSince(7u, 7u), 0u);
    }

    void waitsAcrossTheCounterWrap() {
        // A clock 200 ms before the wrap, advancing 300 ms at every reading: the
        // wait ends at the first reading 1000 ms or more after its start, 1000
        // on the wrapped counter. Should it never end, the picture's window
        // goes at the tenth reading.
        QWidget window;
        window.show();
        std::vector<std::uint32_t> readings;
        SetClock({.ticks = [&] {
            readings.push_back(0xFFFFFF38u + 300u * static_cast<std::uint32_t>(readings.size()));
            if (readings.size() == 10) window.hide();
            return readings.back();
        }});
        QVERIFY(WaitProcessingEvents(1000, &window));
        QCOMPARE(readings, (std::vector<std::uint32_t>{0xFFFFFF38u, 100, 400, 700, 1000}));
    }

    void waitsASecondOfTheTickClockAcrossItsWrap() {
        // The system clock shifted to 300 ms before the wrap; the window goes
        // at the tenth reading, as above.
        QWidget window;
        window.show();
        const std::uint32_t shift = 0xFFFFFED4u - SystemTickCount();
        int readings = 0;
        SetClock({.ticks = [&] {
            if (++readings == 10) window.hide();
            return SystemTickCount() + shift;
        }});
        QElapsedTimer clock;
        clock.start();
        const std::uint32_t start = TickCount();
        QVERIFY(WaitProcessingEvents(1000, &window));
        const std::uint32_t end = TickCount();
        QVERIFY2(end < start, "the counter wrapped during the wait");
        QVERIFY(std::uint64_t{end} + 0x100000000u - start >= 1000u);
        QVERIFY(clock.elapsed() >= 999);
    }

    void servesEventsWhileWaiting() {
        QWidget window;
        window.show();
        bool fired = false;
        QElapsedTimer clock;
        clock.start();
        QTimer::singleShot(200, &window, [&] { fired = true; });
        QVERIFY(WaitProcessingEvents(600, &window));
        QVERIFY(fired);
        QVERIFY(clock.elapsed() >= 590);
    }

    void endsWhenTheWindowCloses() {
        QWidget window;
        auto* picture = new QWidget(&window);
        window.show();
        QElapsedTimer clock;
        clock.start();
        QTimer::singleShot(100, &window, &QWidget::close);
        QVERIFY(!WaitProcessingEvents(10000, picture));
        QVERIFY(clock.elapsed() < 5000);
    }

    void endsWhenThePictureIsDestroyed() {
        auto* window = new QWidget;
        QPointer<QWidget> picture = new QWidget(window);
        window->show();
        QTimer::singleShot(100, [window] { delete window; });
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!WaitProcessingEvents(10000, picture));
        QVERIFY(picture.isNull());
        QVERIFY(clock.elapsed() < 5000);
    }
};

QTEST_MAIN(WaitTest)
#include "wait_test.moc"
