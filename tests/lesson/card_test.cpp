// The card as a learner builds it: clicks on the character buttons of the
// main window with the built lesson data; a fast clock stands in for the
// one-second pauses.
#include "lesson/card.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "app/About.h"
#include "app/Main.h"
#include "app/runtime/clock.h"
#include "app/runtime/controls.h"
#include "app/runtime/runtime.h"
#include "data/dictionary.h"
#include "data/lesson_file.h"
#include "glyph/strokes.h"
#include "lesson/voice.h"
#include "tests/support/dictionary_lines.h"
#include "tests/support/ink.h"
#include "tests/support/windows.h"

namespace {

// A lesson folder in dir: the built file's sections before the dictionary,
// then the given plain lines; the built font beside it.
bool WriteLessonFolder(const QString& dir, const std::vector<std::string>& lines) {
    QFile built(lesson_file::kPath);
    if (!QDir(dir).mkpath("dat") || !built.open(QIODevice::ReadOnly)) return false;
    QByteArray bytes = built.read(lesson_file::kDictionaryOffset);
    if (bytes.size() != static_cast<qsizetype>(lesson_file::kDictionaryOffset)) return false;
    for (const std::string& line : lines) {
        std::string stored, error;
        if (!ScrambleDictionaryLine(line, stored, error)) return false;
        bytes.append(stored.data(), static_cast<qsizetype>(stored.size()));
    }
    QFile out(dir + "/dat/zw.dat");
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() &&
           QFile::link(QFileInfo("dat/hzk24k.dat").canonicalFilePath(), dir + "/dat/hzk24k.dat");
}

}  // namespace

class CardTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void daShowsItsReadingMeaningAndThreeStrokes();
    void jiaHasTenStrokes();
    void clickDuringAnAnimationChangesNothing();
    void visitedFramesStayLowered();
    void phraseLinesAheadOfTheCharacterDoNotMatch();
    void everyMeaningShowsInWholeLines();
    void memoScrollsByWholeLines();

private:
    int InkPixels() const;

    TForm1* form_ = nullptr;
    QString startDir_;
    std::vector<std::string> messages_;
    std::uint32_t now_ = 0;
};

void CardTest::init() {
    startDir_ = QDir::currentPath();
    // Each reading is a whole pause later: a pause serves what is pending and
    // ends (a smaller step would leave the pause's timer to wait in real time).
    SetClock({.ticks = [this] { return now_ += kStrokeWaitMs; }});
    form_ = OpenMainWindow(messages_);
    QVERIFY(form_);
}

void CardTest::cleanup() {
    CloseMainWindow();
    form_ = nullptr;
    SetClock({});
    QDir::setCurrent(startDir_);
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
    QObject timers;  // a case that fails early takes its pending timer with it
    QTimer::singleShot(0, &timers, [&] {
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

// Only the character's own record matches: the phrase 大家 and a word of 大
// and an ASCII letter stand ahead of it; of two records of 大 the first wins.
// Its pinyin of two syllables is then spoken as one name, and the speaker
// takes its picture from speaker1.bmp of the working directory.
void CardTest::phraseLinesAheadOfTheCharacterDoNotMatch() {
    using namespace phrase_test;
    const std::string jia = "\xBC\xD2";
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(WriteLessonFolder(
        dir.path(),
        {Line(kDa + jia, "da4 jia1", "/everybody/"), Line(kDa + "x", "jia1", "/not a character/"),
         Line(kDa, "da4 da4", "/big/large/"), Line(kDa, "dai4", "/second record/"),
         Line(jia, "jia1", "/home/")}));
    QImage speaker(30, 20, QImage::Format_RGB32);
    speaker.fill(qRgb(0, 160, 0));
    QVERIFY(speaker.save(dir.filePath("speaker1.bmp"), "BMP"));
    QVERIFY(QDir::setCurrent(dir.path()));

    QTest::mouseClick(form_->Image1, Qt::LeftButton);
    QCOMPARE(form_->Label7->text(), QString("da4 da4"));
    QCOMPARE(form_->Memo1->Lines(), (QStringList{"", "big; large; "}));
    QCOMPARE(QByteArray(CardRecord.Word), QByteArray(kDa.c_str()));
    QCOMPARE(form_->Label8->text(), QString("3"));
    QVERIFY(messages_.empty());

    // The speaker's form picture until the mouse moves over it.
    QCOMPARE(form_->Image8->size(), QSize(22, 22));
    QVERIFY(form_->Image8->Picture().pixel(10, 10) != qRgb(0, 160, 0));
    QTest::mouseMove(form_, form_->Image8->mapTo(form_, QPoint(5, 5)));
    QTest::mouseMove(form_, form_->Image8->mapTo(form_, QPoint(6, 6)));
    QTRY_COMPARE(form_->Image8->size(), QSize(30, 20));
    QCOMPARE(form_->Image8->Picture().pixel(29, 19), qRgb(0, 160, 0));
    QCOMPARE(form_->Image8->pos(), QPoint(448, 52));

    // "da4 da4" is no voice name, though "da4" is.
    QTest::mouseClick(form_->Image8, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(messages_, std::vector<std::string>{kVoiceNotFoundMessage});

    QTest::mouseClick(form_->Image2, Qt::LeftButton);
    QCOMPARE(form_->Label7->text(), QString("jia1"));
    QCOMPARE(form_->Memo1->Lines(), (QStringList{"", "home; "}));
}

namespace {

// Rows of the memo's picture (left of its scroll bar) holding blue ink on
// white: no antialiased edge of a letter is left out.
std::vector<int> InkRows(TMemo* memo) {
    const QImage shot = memo->grab().toImage();
    const int right = memo->viewport()->geometry().right();
    std::vector<int> rows;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x <= right; ++x) {
            const QRgb p = shot.pixel(x, y);
            if (qBlue(p) - qRed(p) > 24) {
                rows.push_back(y);
                break;
            }
        }
    }
    return rows;
}

// Line tops of the memo's text, in viewport pixels: each block from its
// top, its lines as far apart as the layout put them.
std::vector<int> LineTops(TMemo* memo) {
    std::vector<int> tops;
    QAbstractTextDocumentLayout* layout = memo->document()->documentLayout();
    for (QTextBlock b = memo->document()->begin(); b.isValid(); b = b.next()) {
        const qreal top = layout->blockBoundingRect(b).top();
        const QTextLayout* lines = b.layout();
        for (int i = 0; i < lines->lineCount(); ++i)
            tops.push_back(qRound(top + lines->lineAt(i).y() - lines->lineAt(0).y()));
    }
    return tops;
}

}  // namespace

// Memo1 holds three 16-pixel lines of 16-pixel text at 0, 16 and 32: the
// empty first one and every card's meaning whole in the two below it, with
// no ink anywhere else, also once the scroll bar has narrowed it.
void CardTest::everyMeaningShowsInWholeLines() {
    TMemo* memo = form_->Memo1;
    QCOMPARE(memo->font().pixelSize(), 16);
    QCOMPARE(memo->viewport()->geometry().top(), 0);
    QCOMPARE(memo->viewport()->height(), 48);
    TImage* const buttons[] = {form_->Image1, form_->Image2, form_->Image3, form_->Image4,
                               form_->Image5};
    for (const bool scrollBar : {false, true}) {
        if (scrollBar) {  // as the first mouse move over the memo leaves it
            QTest::mouseMove(form_, memo->mapTo(form_, QPoint(60, 12)));
            QTRY_COMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        }
        for (TImage* button : buttons) {
            QTest::mouseClick(button, Qt::LeftButton);
            const QString meaning = memo->Lines().value(1);
            QCOMPARE(memo->verticalScrollBar()->maximum(), 0);  // nothing below the last line
            const std::vector<int> tops = LineTops(memo);
            QVERIFY2(tops == (std::vector<int>{0, 16}) || tops == (std::vector<int>{0, 16, 32}),
                     qPrintable(meaning));
            const std::vector<int> ink = InkRows(memo);
            QVERIFY2(!ink.empty() && ink.front() >= 16, qPrintable(meaning));
            QVERIFY2(ink.back() < 16 * static_cast<int>(tops.size()), qPrintable(meaning));
            for (std::size_t line = 1; line < tops.size(); ++line)  // ink in each line
                QVERIFY(std::any_of(ink.begin(), ink.end(),
                                    [&](int y) { return y >= tops[line] && y < tops[line] + 16; }));
        }
    }
}

// Over a text longer than the memo, a click on the scroll bar's down arrow
// moves the text up one whole line: 16 pixels.
void CardTest::memoScrollsByWholeLines() {
    TMemo* memo = form_->Memo1;
    memo->Clear();
    memo->AddLine(QString());
    memo->AddLine(QString("first sense; ").repeated(20));
    QTest::mouseMove(form_, memo->mapTo(form_, QPoint(70, 20)));
    QTest::mouseMove(form_, memo->mapTo(form_, QPoint(80, 22)));
    QTRY_COMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QScrollBar* bar = memo->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 0);
    QCOMPARE(bar->maximum() % 16, 0);
    const std::vector<int> before = InkRows(memo);

    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Vertical;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->value();
    option.pageStep = bar->pageStep();
    const QRect down = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                    QStyle::SC_ScrollBarAddLine, bar);
    QTest::mouseClick(bar, Qt::LeftButton, {}, down.center());
    QCOMPARE(bar->value(), 16);
    std::vector<int> shifted;
    for (int y : before)
        if (y >= 16) shifted.push_back(y - 16);
    const std::vector<int> after = InkRows(memo);
    QVERIFY(!shifted.empty());
    QCOMPARE(std::vector<int>(after.begin(), after.begin() + static_cast<long>(shifted.size())),
             shifted);
}

QTEST_MAIN(CardTest)
#include "card_test.moc"
