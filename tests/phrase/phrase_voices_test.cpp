// The phrase lists of the five lesson characters with the built data: each
// character's first page, opened through "click here to Get Phrases" on the
// main window, is spoken word by word without a missing syllable; and the
// search during a card's stroke animation.
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Main.h"
#include "app/runtime/clock.h"
#include "app/runtime/controls.h"
#include "app/runtime/runtime.h"
#include "lesson/card.h"
#include "lesson/voice.h"
#include "phrase/Phrase.h"
#include "phrase/phrase_search.h"
#include "tests/support/windows.h"

namespace {

const char* const kLessonCodes[] = {"\xB4\xF3", "\xBC\xD2", "\xD1\xA7", "\xD6\xD0", "\xCE\xC4"};
const char* const kRowNames[] = {"B4F3", "BCD2", "D1A7", "D6D0", "CEC4"};

// The syllables the speaker plays for a pinyin field.
std::vector<std::string> Syllables(const std::string& pinyin) {
    std::vector<std::string> syllables;
    std::size_t start = 0;
    while (syllables.size() < 3 && start < pinyin.size()) {
        const std::size_t end = std::min(pinyin.find(' ', start), pinyin.size());
        syllables.push_back(pinyin.substr(start, end - start));
        start = end + 1;
    }
    return syllables;
}

std::string Joined(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts) joined += (joined.empty() ? "" : "; ") + text;
    return joined;
}

}  // namespace

class PhraseVoicesTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    // First: it needs a run in which no character button was clicked yet.
    void getPhrasesBeforeAnyCardClickListsTheFirstCharacter();
    void firstPagesAreFullyVoiced_data();
    void firstPagesAreFullyVoiced();
    void getPhrasesDuringTheAnimationSearchesForTheCharacterBeingWritten();

private:
    // Runs check once the modal phrase window is up, then closes it.
    void WhenShown(std::function<void()> check, int tries = 200);

    TForm1* form_ = nullptr;
    std::vector<std::string> messages_;
    std::uint32_t now_ = 0;
    // The case's timers: gone with the case, so that one left by a failing case
    // does not run in the next.
    std::unique_ptr<QObject> timers_;
};

void PhraseVoicesTest::init() {
    timers_ = std::make_unique<QObject>();
    // Every reading of the clock is a second later: the strokes do not wait.
    SetClock({.ticks = [this] { return now_ += 1000; }});
    form_ = OpenMainWindow(messages_, AlsoCreate::PhraseWindow);
    QVERIFY(form_);
}

void PhraseVoicesTest::cleanup() {
    timers_.reset();
    CloseMainWindow();
    form_ = nullptr;
    SetClock({});
}

void PhraseVoicesTest::WhenShown(std::function<void()> check, int tries) {
    QTimer::singleShot(0, timers_.get(), [this, check, tries] {
        if (!FrmPhrase->isVisible() && tries > 0) {
            WhenShown(check, tries - 1);
            return;
        }
        check();
        FrmPhrase->done(0);
    });
}

void PhraseVoicesTest::getPhrasesBeforeAnyCardClickListsTheFirstCharacter() {
    QCOMPARE(SelectedOffset, 0);
    QCOMPARE(CardReady, std::uint8_t{1});
    bool shown = false;
    WhenShown([&] {
        shown = FrmPhrase->isVisible();
        QCOMPARE(PhraseCount, kPhraseSlots);
        for (int i = 0; i < PhraseCount; ++i)
            QCOMPARE(std::string(PhraseWords[i], 2), std::string(kLessonCodes[0]));
    });
    QTest::mouseClick(form_->Label10, Qt::LeftButton);
    QVERIFY(shown);
    QVERIFY2(messages_.empty(), Joined(messages_).c_str());
}

void PhraseVoicesTest::firstPagesAreFullyVoiced_data() {
    QTest::addColumn<int>("button");
    for (int i = 1; i <= kLessonCharCount; ++i) QTest::newRow(kRowNames[i - 1]) << i;
}

void PhraseVoicesTest::firstPagesAreFullyVoiced() {
    QFETCH(int, button);
    QTest::mouseClick(form_->CharacterButton(button), Qt::LeftButton);
    QCOMPARE(SelectedOffset, 2 * (button - 1));
    QVERIFY(messages_.empty());

    bool shown = false;
    int played = 0;
    QStringList words;
    WhenShown([&] {
        shown = FrmPhrase->isVisible();
        QVERIFY(!FrmPhrase->SpeedButton1->isEnabled());
        for (int r = 0; r < kPhrasesPerPage; ++r) {
            QVERIFY(FrmPhrase->WordPanel(r)->isVisible());
            const std::string word = PhraseWords[r];
            QCOMPARE(word.substr(0, 2), std::string(kLessonCodes[button - 1]));
            QTest::mouseClick(FrmPhrase->WordButton(r), Qt::LeftButton);
            const std::string pinyin = FrmPhrase->Label4->text().toStdString();
            QCOMPARE(pinyin, std::string(PhrasePinyin));
            const std::vector<std::string> syllables = Syllables(pinyin);
            QCOMPARE(syllables.size(), word.size() / 2);
            for (const std::string& s : syllables) {
                QVERIFY2(FindVoice(VoiceDirectory, s).found, (pinyin + ": " + s).c_str());
            }
            QTest::mouseClick(FrmPhrase->Image6, Qt::LeftButton);
            QVERIFY2(messages_.empty(), (pinyin + ": " + Joined(messages_)).c_str());
            played += static_cast<int>(syllables.size());
            words << QString::fromStdString(pinyin);
        }
    });
    QTest::mouseClick(form_->Label10, Qt::LeftButton);
    QVERIFY(shown);
    QVERIFY(!FrmPhrase->isVisible());
    QCOMPARE(words.size(), kPhrasesPerPage);
    QVERIFY(played >= 2 * kPhrasesPerPage);
    QVERIFY2(messages_.empty(), Joined(messages_).c_str());
    qInfo("%s", qPrintable(words.join(", ")));
}

void PhraseVoicesTest::getPhrasesDuringTheAnimationSearchesForTheCharacterBeingWritten() {
    // A clock short of a second a reading: each stroke waits on the event queue.
    SetClock({.ticks = [this] { return now_ += 900; }});
    bool searched = false;
    QTimer::singleShot(0, timers_.get(), [&] {
        QCOMPARE(CardReady, std::uint8_t{0});
        WhenShown([&] {
            searched = true;
            QVERIFY(PhraseCount > 0);
            for (int i = 0; i < PhraseCount; ++i)
                QCOMPARE(std::string(PhraseWords[i], 2), std::string(kLessonCodes[1]));
            // The animation waits until the window is closed.
            QVERIFY(form_->Label8->text().isEmpty());
        });
        QTest::mouseClick(form_->Label10, Qt::LeftButton);
    });
    QTest::mouseClick(form_->CharacterButton(2), Qt::LeftButton);
    QVERIFY(searched);
    QCOMPARE(form_->Label8->text(), QString("10"));
    QCOMPARE(CardReady, std::uint8_t{1});
    QVERIFY2(messages_.empty(), Joined(messages_).c_str());
}

QTEST_MAIN(PhraseVoicesTest)
#include "phrase_voices_test.moc"
