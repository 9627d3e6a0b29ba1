// The card on the real clock: a stroke a second, with the window served
// while the strokes appear, and a window at rest that does not repaint.
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <string>
#include <vector>

#include "app/Main.h"
#include "app/runtime/clock.h"
#include "app/runtime/controls.h"
#include "app/runtime/runtime.h"
#include "lesson/card.h"
#include "phrase/Phrase.h"
#include "phrase/phrase_search.h"
#include "tests/support/ink.h"
#include "tests/support/windows.h"

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count;
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

class CardClockTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void threeStrokesTakeThreeSecondsAndPhrasesOpenMeanwhile();
    void mainWindowAtRestDoesNotRepaint();
    void phraseWindowAtRestDoesNotRepaint();

private:
    int InkPixels() const;

    TForm1* form_ = nullptr;
    std::vector<std::string> messages_;
};

void CardClockTest::init() {
    SetClock({});
    form_ = OpenMainWindow(messages_, AlsoCreate::PhraseWindow);
    QVERIFY(form_);
}

void CardClockTest::cleanup() {
    CloseMainWindow();
    form_ = nullptr;
}

int CardClockTest::InkPixels() const {
    return ::InkPixels(form_->Image6->Picture());
}

void CardClockTest::threeStrokesTakeThreeSecondsAndPhrasesOpenMeanwhile() {
    PaintCounter cardPaints(form_->Image6);
    PaintCounter windowPaints(form_->Client);
    std::vector<int> ink;
    bool phrasesShown = false;
    bool labelEmpty = false;
    int cardPaintsSoFar = 0;
    std::string firstPhrase;
    // The timers end with the case, so that one that fails early leaves none behind.
    QObject timers;
    auto sample = [&] { ink.push_back(InkPixels()); };
    // Half a second into each of the three pauses.
    QTimer::singleShot(500, &timers, sample);
    QTimer::singleShot(1500, &timers, sample);
    QTimer::singleShot(2500, &timers, sample);

    QTimer::singleShot(1200, &timers, [&] {
        labelEmpty = form_->Label8->text().isEmpty();
        cardPaintsSoFar = cardPaints.count;
        // The modal phrase window runs inside the pause; it is closed from here.
        QTimer::singleShot(300, &timers, [&] {
            phrasesShown = FrmPhrase->isVisible();
            firstPhrase = PhraseWords[0];
            FrmPhrase->close();
        });
        QTest::mouseClick(form_->Label10, Qt::LeftButton);
    });
    // Whatever happens above, no modal window outlives the test.
    QTimer::singleShot(6000, &timers, [] {
        if (FrmPhrase->isVisible()) FrmPhrase->close();
    });

    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(form_->Image1, Qt::LeftButton);
    const qint64 elapsed = clock.elapsed();

    // Three pauses of 1000 ms each (less the millisecond rounding of the clocks).
    QVERIFY2(elapsed >= 2990 && elapsed <= 4500, qPrintable(QString::number(elapsed)));
    QVERIFY(labelEmpty);
    QVERIFY(cardPaintsSoFar >= 1);
    QVERIFY(phrasesShown);
    QCOMPARE(firstPhrase.substr(0, 2), std::string("\xB4\xF3"));
    QVERIFY(!FrmPhrase->isVisible());
    // One stroke more in each pause.
    QCOMPARE(ink.size(), std::size_t{3});
    QVERIFY(ink[0] > 0);
    QVERIFY2(ink[0] < ink[1] && ink[1] < ink[2],
             qPrintable(QStringLiteral("%1 %2 %3").arg(ink[0]).arg(ink[1]).arg(ink[2])));
    QCOMPARE(InkPixels(), ink[2]);
    QVERIFY(cardPaints.count >= 3);
    // The card's picture repaints itself, not the whole window.
    QVERIFY2(windowPaints.count < 20, qPrintable(QString::number(windowPaints.count)));
    QCOMPARE(form_->Label8->text(), QString("3"));
    QCOMPARE(form_->Label7->text(), QString("da4"));
    QCOMPARE(CardReady, std::uint8_t{1});
    QVERIFY(messages_.empty());
}

// Drawing the button glyphs during a paint must not ask for the next paint.
void CardClockTest::mainWindowAtRestDoesNotRepaint() {
    QTest::qWait(200);
    PaintCounter windowPaints(form_->Client);
    PaintCounter buttonPaints(form_->Image1);
    QTest::qWait(1000);
    QVERIFY2(windowPaints.count <= 1, qPrintable(QString::number(windowPaints.count)));
    QVERIFY2(buttonPaints.count <= 1, qPrintable(QString::number(buttonPaints.count)));
}

// The phrase window clears and draws its word pictures during its paint.
void CardClockTest::phraseWindowAtRestDoesNotRepaint() {
    int windowPaints = -1;
    int wordPaints = -1;
    QObject timers;  // ends the timer with the case
    QTimer::singleShot(0, &timers, [&] {
        if (!QTest::qWaitForWindowExposed(FrmPhrase)) {
            FrmPhrase->close();
            return;
        }
        QTest::qWait(200);
        PaintCounter window(FrmPhrase->Client);
        PaintCounter word(FrmPhrase->WordButton(0));
        QTest::qWait(1000);
        windowPaints = window.count;
        wordPaints = word.count;
        FrmPhrase->close();
    });
    QTest::mouseClick(form_->Label10, Qt::LeftButton);
    QVERIFY(windowPaints >= 0);
    QVERIFY2(windowPaints <= 1, qPrintable(QString::number(windowPaints)));
    QVERIFY2(wordPaints <= 1, qPrintable(QString::number(wordPaints)));
}

QTEST_MAIN(CardClockTest)
#include "card_clock_test.moc"
