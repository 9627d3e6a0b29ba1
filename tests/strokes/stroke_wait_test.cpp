// The pause between strokes: wrap-safe ticks, events served while it waits,
// and an early end when the picture's window goes away.
#include "glyph/stroke_wait.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

class StrokeWaitTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { SetTickSource({}); }

    void differenceIsWrapSafe() {
        QCOMPARE(TicksSince(0xFFFFFF00u, 0x00000100u), 0x200u);
        QCOMPARE(TicksSince(5u, 5u), 0u);
    }

    void waitsAcrossTheCounterWrap() {
        // A clock 200 ms before the wrap, advancing 300 ms at every reading.
        std::uint32_t now = 0xFFFFFF38u;
        int readings = 0;
        SetTickSource([&] {
            ++readings;
            const std::uint32_t t = now;
            now += 300;
            return t;
        });
        QVERIFY(WaitProcessingEvents(1000, nullptr));
        // start, then 300, 600, 900, 1200: the fifth reading ends the wait.
        QCOMPARE(readings, 5);
    }

    void servesEventsWhileWaiting() {
        QWidget window;
        window.show();
        bool fired = false;
        QElapsedTimer clock;
        clock.start();
        QTimer::singleShot(200, [&] { fired = true; });
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

QTEST_MAIN(StrokeWaitTest)
#include "stroke_wait_test.moc"
