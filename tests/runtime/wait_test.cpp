// The runtime's wait: wrap-safe ticks, events served while it waits, and an
// early end when the picture's window goes away.
#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "app/runtime/clock.h"
#include "app/runtime/runtime.h"

class WaitTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { SetClock({}); }

    void differenceIsWrapSafe() { QCOMPARE(TicksSince(0xFFFFFF00u, 0x00000100u), 0x200u); }

    void waitsAcrossTheCounterWrap() {
        // A clock 200 ms before the wrap, advancing 300 ms at every reading: the
        // wait ends once a reading is 1000 ms or more after its start.
        std::uint32_t now = 0xFFFFFF38u;
        std::uint32_t last = 0;
        SetClock({.ticks = [&] {
            last = now;
            now += 300;
            return last;
        }});
        QVERIFY(WaitProcessingEvents(1000, nullptr));
        // It saw the second pass on the wrapped counter and did not wait another.
        QVERIFY(TicksSince(0xFFFFFF38u, last) >= 1000u);
        QVERIFY(TicksSince(0xFFFFFF38u, last) < 2000u);
    }

    void waitsASecondOfTheTickClockAcrossItsWrap() {
        // The system clock shifted to 300 ms before the wrap.
        const std::uint32_t shift = 0xFFFFFED4u - SystemTickCount();
        SetClock({.ticks = [shift] { return SystemTickCount() + shift; }});
        QElapsedTimer clock;
        clock.start();
        const std::uint32_t start = TickCount();
        QVERIFY(WaitProcessingEvents(1000, nullptr));
        const std::uint32_t end = TickCount();
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(end < start, "the counter wrapped during the wait");
        QVERIFY(TicksSince(start, end) >= 1000u);
        QVERIFY(elapsed >= 999);
        QVERIFY(elapsed < 1500);
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
        QVERIFY(clock.elapsed() < 900);
    }

    void endsWhenTheWindowCloses() {
        QWidget window;
        auto* picture = new QWidget(&window);
        window.show();
        QElapsedTimer clock;
        clock.start();
        QTimer::singleShot(100, &window, &QWidget::close);
        QVERIFY(!WaitProcessingEvents(1000, picture));
        QVERIFY(clock.elapsed() < 500);
    }

    void endsWhenThePictureIsDestroyed() {
        auto* window = new QWidget;
        QPointer<QWidget> picture = new QWidget(window);
        window->show();
        QTimer::singleShot(100, [window] { delete window; });
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!WaitProcessingEvents(1000, picture));
        QVERIFY(picture.isNull());
        QVERIFY(clock.elapsed() < 500);
    }
};

QTEST_MAIN(WaitTest)
#include "wait_test.moc"
