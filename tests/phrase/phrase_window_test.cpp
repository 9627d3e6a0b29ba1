// The phrase window through real clicks offscreen: pages and arrows, the word
// glyphs read back pixel by pixel, the pinyin and meaning of a clicked word,
// and the speaker's syllables.
#include <QFile>
#include <QTest>
#include <QWindow>
#include <cstring>
#include <string>
#include <vector>

#include "app/runtime/controls.h"
#include "app/runtime/runtime.h"
#include "data/dictionary.h"
#include "lesson/voice.h"
#include "phrase/Phrase.h"
#include "phrase/phrase_search.h"
#include "tests/support/dictionary_lines.h"
#include "tests/support/font_record.h"
#include "tests/support/windows.h"

namespace {

using namespace phrase_test;

const QRgb kRedRgb = qRgb(255, 0, 0);
const QRgb kSeparatorRgb = qRgb(255, 190, 125);
constexpr int kPanelLefts[] = {40, 135, 230, 327, 426};
constexpr int kPanelTop = 6;

std::string PinyinOf(int slot) {
    return "da4 x" + std::to_string(slot);
}

// The phrase table as the search leaves it: words in slots from 0, the slot
// after the last one empty.
void FillTable(const std::vector<std::string>& words, const std::vector<std::string>& lines) {
    for (auto& word : PhraseWords) word[0] = '\0';
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::strncpy(PhraseWords[i], words[i].c_str(), kWordBufferSize - 1);
        std::strncpy(PhraseLines[i], lines[i].c_str(), kLineBufferSize - 1);
    }
}

void FillTable(int count) {
    std::vector<std::string> words, lines;
    for (int i = 0; i < count; ++i) {
        words.push_back(kDa + Hanzi(i));
        lines.push_back(Line(words.back(), PinyinOf(i), "/word " + std::to_string(i) + "/"));
    }
    FillTable(words, lines);
}

const char* const kFontFile = "dat/hzk24k.dat";

}  // namespace

class PhraseWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void oneToFiveWordsMakeOnePage();
    void sixWordsMakeTwoPages();
    void tenWordsMakeTwoPages();
    void elevenWordsMakeThreePages();
    void hundredWordsMakeTwentyPages();
    void eachPageShowsItsOwnSlots();
    void wordsAreDrawnAtOneTwentySixAndFiftyOne();
    void separatorLinesAreDrawn();
    void wordClickFillsPinyinAndMeaning();
    void twoWordClicksLeaveBothPanelsLowered();
    void speakerWantsASelectionAfterAPageChange();
    void speakerPlaysAtMostThreeSyllables();
    void showingAgainStartsOnPageZeroWithoutSelection();
    void restoringAfterMinimisingKeepsThePageAndSelection();
    void escapeLeavesTheWindowOpen();
    void layoutPutsControlsWhereTheFormHasThem();

private:
    void Show();
    QImage Grab() const;
    // Pixels of the client area within rect that are mostly blue.
    int BlueInk(const QRect& rect) const;
    // Pages counted by clicking the next-page arrow until it is disabled,
    // checking the arrows and the rows on every page; then back to page 0.
    void CheckPages(int count, int pages);

    TFrmPhrase* window_ = nullptr;
    std::vector<std::string> messages_;
};

void PhraseWindowTest::init() {
    messages_.clear();
    SetMessageSink([this](const std::string& text) { messages_.push_back(text); });
    FrmPhrase = window_ = new TFrmPhrase;
}

void PhraseWindowTest::cleanup() {
    delete window_;
    FrmPhrase = window_ = nullptr;
    SetMessageSink({});
}

void PhraseWindowTest::Show() {
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    QCoreApplication::processEvents();
}

QImage PhraseWindowTest::Grab() const {
    return window_->Client->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int PhraseWindowTest::BlueInk(const QRect& rect) const {
    const QImage image = Grab();
    int ink = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            ink += qBlue(p) > 200 && qRed(p) < 100 && qGreen(p) < 100;
        }
    }
    return ink;
}

void PhraseWindowTest::CheckPages(int count, int pages) {
    FillTable(count);
    Show();
    QCOMPARE(PhraseCount, count);
    int page = 0;
    for (;;) {
        QCOMPARE(PhrasePage, page);
        QCOMPARE(window_->SpeedButton1->isEnabled(), page > 0);
        for (int r = 0; r < kPhrasesPerPage; ++r) {
            const bool word = kPhrasesPerPage * page + r < count;
            QVERIFY2(window_->WordPanel(r)->isVisible() == word,
                     qPrintable(QString("count %1 page %2 row %3").arg(count).arg(page).arg(r)));
        }
        if (!window_->SpeedButton2->isEnabled()) break;
        QTest::mouseClick(window_->SpeedButton2, Qt::LeftButton);
        ++page;
        QVERIFY(page < 100);
    }
    QCOMPARE(page + 1, pages);
    // A disabled arrow sends no click.
    QTest::mouseClick(window_->SpeedButton2, Qt::LeftButton);
    QCOMPARE(PhrasePage, page);
    while (window_->SpeedButton1->isEnabled()) {
        QTest::mouseClick(window_->SpeedButton1, Qt::LeftButton);
        --page;
        QCOMPARE(PhrasePage, page);
        QVERIFY(window_->SpeedButton2->isEnabled());
    }
    QCOMPARE(page, 0);
    QTest::mouseClick(window_->SpeedButton1, Qt::LeftButton);
    QCOMPARE(PhrasePage, 0);
    QVERIFY(messages_.empty());
    window_->hide();
}

void PhraseWindowTest::oneToFiveWordsMakeOnePage() {
    for (int count = 1; count <= 5; ++count) {
        CheckPages(count, 1);
        if (QTest::currentTestFailed()) return;
        QVERIFY(!window_->SpeedButton1->isEnabled());
        QVERIFY(!window_->SpeedButton2->isEnabled());
    }
}

void PhraseWindowTest::sixWordsMakeTwoPages() {
    CheckPages(6, 2);
}

void PhraseWindowTest::tenWordsMakeTwoPages() {
    CheckPages(10, 2);
}

void PhraseWindowTest::elevenWordsMakeThreePages() {
    CheckPages(11, 3);
}

void PhraseWindowTest::hundredWordsMakeTwentyPages() {
    CheckPages(100, 20);
}

void PhraseWindowTest::eachPageShowsItsOwnSlots() {
    FillTable(13);
    Show();
    for (int page = 0; page < 3; ++page) {
        for (int r = 0; r < kPhrasesPerPage && kPhrasesPerPage * page + r < 13; ++r) {
            QTest::mouseClick(window_->WordButton(r), Qt::LeftButton);
            QCOMPARE(window_->Label4->text(),
                     QString::fromStdString(PinyinOf(kPhrasesPerPage * page + r)));
        }
        // The second glyph of row 0 is the slot's own second character.
        const QImage image = Grab();
        const std::vector<std::uint8_t> record =
            FontRecord(kFontFile, Hanzi(kPhrasesPerPage * page));
        int matches = 0, ink = 0;
        for (int c = 0; c < 24; ++c) {
            for (int row = 0; row < 24; ++row) {
                const bool red =
                    image.pixel(kPanelLefts[0] + 1 + 26 + c, kPanelTop + 1 + 1 + row) == kRedRgb;
                ink += Ink(record, c, row);
                matches += red == Ink(record, c, row);
            }
        }
        QVERIFY(ink > 0);
        QCOMPARE(matches, 24 * 24);
        if (page < 2) QTest::mouseClick(window_->SpeedButton2, Qt::LeftButton);
    }
}

void PhraseWindowTest::wordsAreDrawnAtOneTwentySixAndFiftyOne() {
    const std::vector<std::string> words = {kDa + kXue, kDa + kXue + kSheng};
    FillTable(words, {Line(words[0], "da4 xue2", "/university/"),
                      Line(words[1], "da4 xue2 sheng1", "/student/")});
    Show();
    const QImage image = Grab();
    const std::vector<std::string> glyphs = {kDa, kXue, kSheng};
    for (int r = 0; r < 2; ++r) {
        // The picture's top-left pixel inside the window.
        const int left = kPanelLefts[r] + 1;
        const int top = kPanelTop + 1;
        for (int k = 0; k < 3; ++k) {
            const int x = 1 + 25 * k;
            const bool drawn = k < 2 || r == 1;
            const std::vector<std::uint8_t> record =
                FontRecord(kFontFile, glyphs[static_cast<std::size_t>(k)]);
            QCOMPARE(record.size(), std::size_t{72});
            int ink = 0;
            for (int c = 0; c < 24; ++c) {
                for (int row = 0; row < 24; ++row) {
                    const bool red = image.pixel(left + x + c, top + 1 + row) == kRedRgb;
                    const bool expected = drawn && Ink(record, c, row);
                    ink += expected;
                    QVERIFY2(
                        red == expected,
                        qPrintable(
                            QString("row %1 glyph %2 at %3, %4").arg(r).arg(k).arg(c).arg(row)));
                }
            }
            QVERIFY(!drawn || ink > 20);
        }
        // Nothing red outside the glyph cells, the picture's edges included.
        for (int y = 0; y < 27; ++y) {
            QVERIFY(image.pixel(left, top + y) != kRedRgb);
            for (int x = 76; x < 81; ++x) QVERIFY(image.pixel(left + x, top + y) != kRedRgb);
        }
        for (int x = 0; x < 81; ++x) {
            QVERIFY(image.pixel(left + x, top) != kRedRgb);
            QVERIFY(image.pixel(left + x, top + 25) != kRedRgb);
        }
    }
    QVERIFY(!window_->WordPanel(2)->isVisible());
}

void PhraseWindowTest::separatorLinesAreDrawn() {
    FillTable(1);
    Show();
    const QImage image = Grab();
    for (int y : {50, 100, 155}) {
        for (int x : {1, 100, 300, 551}) {
            QCOMPARE(image.pixel(x, y), kSeparatorRgb);
            QCOMPARE(image.pixel(x, y - 1), kSeparatorRgb);
        }
        QVERIFY(image.pixel(300, y + 1) != kSeparatorRgb);
        QVERIFY(image.pixel(300, y - 2) != kSeparatorRgb);
    }
}

void PhraseWindowTest::wordClickFillsPinyinAndMeaning() {
    const std::vector<std::string> words = {kDa + kXue, kDa + kXue + kSheng};
    FillTable(words, {Line(words[0], "da4 xue2", "/university/college/"),
                      Line(words[1], "da4 xue2 sheng1", "/university student/")});
    Show();
    QVERIFY(!PhraseSelected);
    QTest::mouseClick(window_->Image2, Qt::LeftButton);
    QVERIFY(PhraseSelected);
    QCOMPARE(window_->Panel3->BevelOuter(), Bevel::Lowered);
    QCOMPARE(window_->Panel2->BevelOuter(), Bevel::Raised);
    QCOMPARE(window_->Label4->text(), QString("da4 xue2 sheng1"));
    QCOMPARE(QString(PhrasePinyin), QString("da4 xue2 sheng1"));
    QCOMPARE(QString(PhraseMeaning), QString("/university student/"));
    QCOMPARE(window_->Memo1->Lines(), QStringList{"university student; "});
    QCOMPARE(window_->Memo1->toPlainText(), QString("university student; "));
    QCOMPARE(window_->Memo1->textCursor().selectionStart(), 0);
    QCOMPARE(window_->Memo1->textCursor().selectionEnd(), 0);
    QVERIFY(messages_.empty());
    // The pinyin is drawn in blue; a page change clears it.
    QVERIFY(BlueInk(window_->Label4->geometry()) > 20);
    FillTable(6);
    window_->hide();
    Show();
    QTest::mouseClick(window_->Image1, Qt::LeftButton);
    QVERIFY(BlueInk(window_->Label4->geometry()) > 20);
    QTest::mouseClick(window_->SpeedButton2, Qt::LeftButton);
    QCOMPARE(BlueInk(QRect(103, 116, 200, 20)), 0);
}

void PhraseWindowTest::twoWordClicksLeaveBothPanelsLowered() {
    const std::vector<std::string> words = {kDa + kXue, kDa + kXue + kSheng, kDa + kSheng};
    FillTable(words, {Line(words[0], "da4 xue2", "/university/college/"),
                      Line(words[1], "da4 xue2 sheng1", "/university student/"),
                      Line(words[2], "da4 sheng1", "/loudly/aloud/")});
    Show();
    QTest::mouseClick(window_->Image1, Qt::LeftButton);
    QTest::mouseClick(window_->Image3, Qt::LeftButton);
    QCOMPARE(window_->Panel2->BevelOuter(), Bevel::Lowered);
    QCOMPARE(window_->Panel3->BevelOuter(), Bevel::Raised);
    QCOMPARE(window_->Panel4->BevelOuter(), Bevel::Lowered);
    QCOMPARE(window_->Label4->text(), QString("da4 sheng1"));
    QCOMPARE(window_->Memo1->Lines(), QStringList{"loudly; aloud; "});
}

void PhraseWindowTest::speakerWantsASelectionAfterAPageChange() {
    FillTable(7);
    Show();
    QTest::mouseClick(window_->Image6, Qt::LeftButton);
    QCOMPARE(messages_, std::vector<std::string>{kSelectPhraseMessage});
    messages_.clear();

    // A word with syllables that are not in the directory: the speaker is live.
    std::strcpy(PhraseLines[6], Line(PhraseWords[6], "zz1 zz2", "/x/").c_str());
    QTest::mouseClick(window_->Image1, Qt::LeftButton);
    QTest::mouseClick(window_->SpeedButton2, Qt::LeftButton);
    QVERIFY(!PhraseSelected);
    QCOMPARE(window_->Label4->text(), QString());
    QVERIFY(window_->Memo1->Lines().isEmpty());
    QVERIFY(window_->Memo1->toPlainText().isEmpty());
    QCOMPARE(window_->Panel2->BevelOuter(), Bevel::Raised);
    QTest::mouseClick(window_->Image6, Qt::LeftButton);
    QCOMPARE(messages_, std::vector<std::string>{kSelectPhraseMessage});
    messages_.clear();

    QTest::mouseClick(window_->Image2, Qt::LeftButton);
    QTest::mouseClick(window_->Image6, Qt::LeftButton);
    QCOMPARE(messages_, (std::vector<std::string>{kVoiceNotFoundMessage, kVoiceNotFoundMessage}));
    messages_.clear();

    QTest::mouseClick(window_->SpeedButton1, Qt::LeftButton);
    QTest::mouseClick(window_->Image6, Qt::LeftButton);
    QCOMPARE(messages_, std::vector<std::string>{kSelectPhraseMessage});
}

void PhraseWindowTest::speakerPlaysAtMostThreeSyllables() {
    const std::vector<std::string> words = {kDa + kXue, kDa + kXue + kSheng, kDa + kSheng};
    FillTable(words,
              {Line(words[0], "zz1 zz2 zz3 zz4", "/x/"),
               Line(words[1], "zz1 toolongname zz3", "/x/"), Line(words[2], "zz1 zz2 zz3", "/x/")});
    Show();
    for (int r = 0; r < 3; ++r) {
        QTest::mouseClick(window_->WordButton(r), Qt::LeftButton);
        QTest::mouseClick(window_->Image6, Qt::LeftButton);
        QCOMPARE(messages_, std::vector<std::string>(3, kVoiceNotFoundMessage));
        messages_.clear();
    }
}

void PhraseWindowTest::showingAgainStartsOnPageZeroWithoutSelection() {
    FillTable(12);
    Show();
    QTest::mouseClick(window_->SpeedButton2, Qt::LeftButton);
    QTest::mouseClick(window_->Image2, Qt::LeftButton);
    QCOMPARE(window_->Label4->text(), QString::fromStdString(PinyinOf(6)));
    window_->hide();

    FillTable(3);
    Show();
    QCOMPARE(PhrasePage, 0);
    QCOMPARE(PhraseCount, 3);
    QVERIFY(!PhraseSelected);
    for (int r = 0; r < kPhrasesPerPage; ++r) {
        QCOMPARE(window_->WordPanel(r)->BevelOuter(), Bevel::Raised);
        QCOMPARE(window_->WordPanel(r)->isVisible(), r < 3);
    }
    QVERIFY(!window_->SpeedButton1->isEnabled());
    QVERIFY(!window_->SpeedButton2->isEnabled());
    // The pinyin and meaning of the last selection stay until the next click.
    QCOMPARE(window_->Label4->text(), QString::fromStdString(PinyinOf(6)));
    QCOMPARE(window_->Memo1->Lines(), QStringList{"word 6; "});
    QTest::mouseClick(window_->Image6, Qt::LeftButton);
    QCOMPARE(messages_, std::vector<std::string>{kSelectPhraseMessage});
}

// FormShow runs when the search shows the window, not when the system
// restores it.
void PhraseWindowTest::restoringAfterMinimisingKeepsThePageAndSelection() {
    FillTable(12);
    Show();
    QTest::mouseClick(window_->SpeedButton2, Qt::LeftButton);
    QTest::mouseClick(window_->Image2, Qt::LeftButton);
    window_->showMinimized();
    QTRY_VERIFY(window_->isMinimized());
    window_->showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    QCoreApplication::processEvents();
    QCOMPARE(PhrasePage, 1);
    QVERIFY(PhraseSelected);
    QCOMPARE(window_->Panel3->BevelOuter(), Bevel::Lowered);
    QCOMPARE(window_->Panel2->BevelOuter(), Bevel::Raised);
    QVERIFY(window_->SpeedButton1->isEnabled());
    QVERIFY(window_->SpeedButton2->isEnabled());
    QCOMPARE(window_->Label4->text(), QString::fromStdString(PinyinOf(6)));
    // Row 0 still draws slot 5's second character.
    const QImage image = Grab();
    const std::vector<std::uint8_t> record = FontRecord(kFontFile, Hanzi(5));
    int matches = 0;
    for (int c = 0; c < 24; ++c) {
        for (int row = 0; row < 24; ++row) {
            const bool red =
                image.pixel(kPanelLefts[0] + 1 + 26 + c, kPanelTop + 1 + 1 + row) == kRedRgb;
            matches += red == Ink(record, c, row);
        }
    }
    QCOMPARE(matches, 24 * 24);
    QTest::mouseClick(window_->Image6, Qt::LeftButton);
    QCOMPARE(messages_, (std::vector<std::string>{kVoiceNotFoundMessage}));
}

// No Cancel button: Escape does nothing; the title bar's close button hides the window.
void PhraseWindowTest::escapeLeavesTheWindowOpen() {
    FillTable(3);
    Show();
    CheckEscapeLeavesOpen(window_, window_->Image1);
}

void PhraseWindowTest::layoutPutsControlsWhereTheFormHasThem() {
    FillTable(5);
    Show();
    QCOMPARE(window_->windowTitle(), QString("FrmPhrase"));
    QCOMPARE(window_->pos(), QPoint(193, 192));
    QCOMPARE(window_->size(), QSize(552, 235));
    QCOMPARE(window_->minimumSize(), QSize(552, 235));
    QCOMPARE(window_->maximumSize(), QSize(552, 235));
    QCOMPARE(window_->Client->geometry(), QRect(0, 0, 552, 235));
    const Qt::WindowFlags flags = window_->windowFlags();
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

    QCOMPARE(window_->SpeedButton1->geometry(), QRect(8, 8, 25, 25));
    QCOMPARE(window_->SpeedButton2->geometry(), QRect(520, 8, 25, 25));
    for (int r = 0; r < kPhrasesPerPage; ++r) {
        QCOMPARE(window_->WordPanel(r)->parentWidget(), window_->Client);
        QCOMPARE(window_->WordPanel(r)->geometry(), QRect(kPanelLefts[r], kPanelTop, 83, 29));
        QCOMPARE(window_->WordButton(r)->parentWidget(), window_->WordPanel(r));
        QCOMPARE(window_->WordButton(r)->geometry(), QRect(1, 1, 81, 27));
    }
    QCOMPARE(window_->Panel2->objectName(), QString("Panel2"));
    QCOMPARE(window_->Panel6->objectName(), QString("Panel6"));
    QCOMPARE(window_->Image5->objectName(), QString("Image5"));
    QCOMPARE(window_->Label1->pos(), QPoint(16, 69));
    QCOMPARE(window_->Label1->text(), QString("Standard Pronunciation"));
    QCOMPARE(window_->Image6->geometry(), QRect(232, 68, 22, 22));
    QCOMPARE(window_->Label2->pos(), QPoint(16, 116));
    QCOMPARE(window_->Label2->text(), QString("PingYin"));
    QCOMPARE(window_->Label4->pos(), QPoint(103, 116));
    QCOMPARE(window_->Label3->pos(), QPoint(16, 164));
    QCOMPARE(window_->Label3->text(), QString("English"));
    QCOMPARE(window_->Panel1->geometry(), QRect(99, 164, 431, 57));
    QCOMPARE(window_->Memo1->parentWidget(), window_->Panel1);
    QCOMPARE(window_->Memo1->geometry(), QRect(1, 1, 429, 55));
    QCOMPARE(window_->Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    // The speaker's picture is where the form has it: its blue triangle inside.
    QVERIFY(BlueInk(QRect(232, 68, 22, 22)) > 10);
    QCOMPARE(BlueInk(QRect(200, 60, 30, 40)), 0);
}

QTEST_MAIN(PhraseWindowTest)
#include "phrase_window_test.moc"
