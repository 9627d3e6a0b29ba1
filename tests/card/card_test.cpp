// The card as a learner builds it: clicks on the character buttons of the
// main window with the built lesson data; a fast clock stands in for the
// one-second pauses.
#include "lesson/card.h"

#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "app/About.h"
#include "app/Main.h"
#include "app/controls.h"
#include "app/runtime.h"
#include "glyph/stroke_wait.h"
#include "ink.h"

class CardTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void daShowsItsReadingMeaningAndThreeStrokes();
    void jiaHasTenStrokes();
    void clickDuringAnAnimationChangesNothing();
    void visitedFramesStayLowered();

private:
    int InkPixels() const;

    TForm1* form_ = nullptr;
    std::vector<std::string> messages_;
    std::uint32_t now_ = 0;
};

void CardTest::init() {
    messages_.clear();
    SetMessageSink([this](const std::string& text) { messages_.push_back(text); });
    // Each reading is a whole pause later: a pause serves what is pending and
    // ends (a smaller step would leave the pause's timer to wait in real time).
    SetTickSource([this] { return now_ += kStrokeWaitMs; });
    Form1 = form_ = new TForm1;
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
}

void CardTest::cleanup() {
    delete form_;
    Form1 = form_ = nullptr;
    SetTickSource({});
    SetMessageSink({});
}

int CardTest::InkPixels() const {
    return ::InkPixels(form_->Image6->Picture());
}

void CardTest::daShowsItsReadingMeaningAndThreeStrokes() {
    QVERIFY(!form_->Image8->isEnabled());
    QTest::mouseClick(form_->Image1, Qt::LeftButton);
    QCOMPARE(form_->Label7->text(), QString("da4"));
    const QStringList lines = form_->Memo1->Lines();
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].isEmpty());
    QVERIFY2(lines[1].startsWith("big; large; great"), qPrintable(lines[1]));
    QCOMPARE(form_->Label8->text(), QString("3"));
    QVERIFY(InkPixels() > 300);
    QVERIFY(form_->Image8->isEnabled());
    QCOMPARE(form_->Panel10->BevelOuter(), Bevel::Lowered);
    QCOMPARE(SelectedCode, 0xB4F3);
    QCOMPARE(SelectedOffset, 0);
    QVERIFY(messages_.empty());
}

void CardTest::jiaHasTenStrokes() {
    QTest::mouseClick(form_->Image2, Qt::LeftButton);
    QCOMPARE(form_->Label7->text(), QString("jia1"));
    QVERIFY(form_->Memo1->Lines().value(1).startsWith("home; family"));
    QCOMPARE(form_->Label8->text(), QString("10"));
    QCOMPARE(SelectedOffset, 2);
}

void CardTest::clickDuringAnAnimationChangesNothing() {
    bool checked = false;
    QTimer::singleShot(0, this, [&] {
        // 大 is being written: 家's button is ignored.
        QCOMPARE(CardReady, std::uint8_t{0});
        QVERIFY(form_->Label8->text().isEmpty());
        QTest::mouseClick(form_->Image2, Qt::LeftButton);
        QCOMPARE(form_->Panel11->BevelOuter(), Bevel::Raised);
        QCOMPARE(SelectedOffset, 0);
        checked = true;
    });
    QTest::mouseClick(form_->Image1, Qt::LeftButton);
    QVERIFY(checked);
    QCOMPARE(form_->Label8->text(), QString("3"));
    QCOMPARE(form_->Label7->text(), QString("da4"));
    QCOMPARE(CardReady, std::uint8_t{1});
}

void CardTest::visitedFramesStayLowered() {
    QTest::mouseClick(form_->Image1, Qt::LeftButton);
    QTest::mouseClick(form_->Image2, Qt::LeftButton);
    QCOMPARE(form_->Panel10->BevelOuter(), Bevel::Lowered);
    QCOMPARE(form_->Panel11->BevelOuter(), Bevel::Lowered);
    QCOMPARE(form_->Panel5->BevelOuter(), Bevel::Raised);
    QCOMPARE(form_->Label7->text(), QString("jia1"));
    // The same button again builds the card anew.
    QTest::mouseClick(form_->Image2, Qt::LeftButton);
    QCOMPARE(form_->Label8->text(), QString("10"));
}

QTEST_MAIN(CardTest)
#include "card_test.moc"
