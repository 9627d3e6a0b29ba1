// The whole program, driven as a learner would use it: every character
// button, the speaker, "click here to Get Phrases", a phrase, its speaker and
// the page buttons, then File > Exit. Messages are printed instead of shown,
// and the stroke pauses take no time. Everything goes to standard error:
//   step: <what is done next>
//   message: <text of a message box>
//   card: <pinyin> <strokes>
//   window icon: default | own (a lesson's program has its own)
//   phrases: <count>
//   exit: <status RunProgram returned>
// With --remove-lesson-file the lesson data file is deleted after the cards
// are built, before the speaker is clicked. With --during-animation the
// clicks on 家, the speaker, the phrases and File > Exit all come while the
// strokes of 大 are being drawn.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/Main.h"
#include "app/program.h"
#include "app/resources/tallowfern_icon.xpm"
#include "app/runtime/clock.h"
#include "app/runtime/controls.h"
#include "app/runtime/runtime.h"
#include "data/lesson_file.h"
#include "glyph/strokes.h"
#include "phrase/Phrase.h"

namespace {

bool removeLessonFile = false;
bool duringAnimation = false;
bool searchDone = false;
std::uint32_t now = 0;

void Print(const char* kind, const QString& text) {
    std::fprintf(stderr, "%s: %s\n", kind, text.toLatin1().constData());
    std::fflush(stderr);
}

void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

// Runs inside the phrase window's modal loop.
void DrivePhraseWindow() {
    Print("phrases", QString::number(PhraseCount));
    for (int row = 0; row < kPhrasesPerPage; ++row) {
        if (FrmPhrase->WordPanel(row)->isVisible()) {
            Print("step", QStringLiteral("phrase %1").arg(row + 1));
            Click(FrmPhrase->WordButton(row));
            Print("step", "phrase speaker");
            Click(FrmPhrase->Image6);
            break;
        }
    }
    if (FrmPhrase->SpeedButton2->isEnabled()) {
        Print("step", "next page");
        Click(FrmPhrase->SpeedButton2);
        if (FrmPhrase->WordPanel(0)->isVisible()) {
            Print("step", "phrase 1");
            Click(FrmPhrase->WordButton(0));
        }
    }
    if (FrmPhrase->SpeedButton1->isEnabled()) {
        Print("step", "previous page");
        Click(FrmPhrase->SpeedButton1);
    }
    Print("step", "close phrases");
    FrmPhrase->close();
}

// Waits for the phrase window while the search runs; gives up when the
// search has returned without showing it.
void WatchForPhraseWindow() {
    if (searchDone) return;
    if (FrmPhrase->isVisible() && QTest::qWaitForWindowExposed(FrmPhrase)) {
        DrivePhraseWindow();
        return;
    }
    QTimer::singleShot(20, WatchForPhraseWindow);
}

void SearchPhrases() {
    Print("step", "get phrases");
    searchDone = false;
    QTimer::singleShot(20, WatchForPhraseWindow);
    Click(Form1->Label10);
    searchDone = true;
}

// The speaker, the phrase search, then File > Exit.
void SpeakSearchAndExit() {
    Print("step", "speaker");
    Click(Form1->Image8);
    SearchPhrases();
    Print("step", "exit");
    Form1->Exit1->trigger();
}

// Runs in the pause after the first stroke of 大.
void DriveDuringAnimation() {
    Print("step", "character 2");
    Click(Form1->CharacterButton(2));
    Print("frame 2",
          Form1->CharacterFrame(2)->BevelOuter() == Bevel::Lowered ? "lowered" : "raised");
    SpeakSearchAndExit();
}

void Drive() {
    if (!QTest::qWaitForWindowExposed(Form1)) Print("step", "main window not exposed");
    const QImage icon = Form1->windowIcon().pixmap(32, 32).toImage();
    const QImage defaultIcon = QImage(tallowfern_icon_xpm).convertToFormat(icon.format());
    Print("window icon", icon == defaultIcon ? "default" : "own");
    if (duringAnimation) {
        QTimer::singleShot(0, DriveDuringAnimation);
        Print("step", "character 1");
        Click(Form1->CharacterButton(1));
        Print("card", Form1->Label7->text() + ' ' + Form1->Label8->text());
        return;
    }
    // The card of 大 last, so that the speaker and the phrases are those of 大.
    for (int button : {2, 3, 4, 5, 1}) {
        Print("step", QStringLiteral("character %1").arg(button));
        Click(Form1->CharacterButton(button));
        Print("card", Form1->Label7->text() + ' ' + Form1->Label8->text());
    }
    if (removeLessonFile) {
        Print("step", "remove lesson file");
        QFile::remove(lesson_file::kPath);
    }
    SpeakSearchAndExit();
}

}  // namespace

int main(int argc, char** argv) {
    removeLessonFile = argc > 1 && std::strcmp(argv[1], "--remove-lesson-file") == 0;
    duringAnimation = argc > 1 && std::strcmp(argv[1], "--during-animation") == 0;
    SetMessageSink([](const std::string& text) { Print("message", QString::fromLatin1(text)); });
    // Each reading of the clock is a whole pause later: a stroke waits for
    // nothing but the events pending at that moment.
    SetClock({.ticks = [] { return now += kStrokeWaitMs; }});
    int one = 1;
    const int status = RunProgram(one, argv, [] { QTimer::singleShot(0, Drive); });
    Print("exit", QString::number(status));
    return status;
}
