// A course's program, driven as a learner would use it, offscreen. Messages
// are printed instead of shown and the stroke pauses take no time; everything
// goes to standard error:
//   title: <window title>
//   lesson: <the five buttons' GB codes, hex>
//   menu: <text of a Lesson menu item> enabled|disabled
//   card: <pinyin> <strokes>   (after a click on each button)
//   message: <text of a message box>
//   exit: <status>
// With --choose N, lesson N is chosen from the Lesson menu first; then each
// card is clicked, the speaker of the last, and File > Exit.
#include <QAction>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/Main.h"
#include "app/course.h"
#include "app/runtime/clock.h"
#include "app/runtime/controls.h"
#include "app/runtime/runtime.h"
#include "glyph/strokes.h"

namespace {

int choose = 0;
std::uint32_t now = 0;

void Print(const char* kind, const QString& text) {
    std::fprintf(stderr, "%s: %s\n", kind, text.toUtf8().constData());
    std::fflush(stderr);
}

void PrintLesson() {
    Print("title", Form1->windowTitle());
    QString codes;
    for (int i = 0; i < kLessonCharCount; ++i)
        codes +=
            QStringLiteral("%1%2%3")
                .arg(i == 0 ? "" : " ")
                .arg(static_cast<unsigned char>(LessonChars[2 * i]), 2, 16, QLatin1Char('0'))
                .arg(static_cast<unsigned char>(LessonChars[2 * i + 1]), 2, 16, QLatin1Char('0'))
                .toUpper();
    Print("lesson", codes);
}

void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

void Drive() {
    if (!QTest::qWaitForWindowExposed(Form1)) Print("step", "main window not exposed");
    for (const QAction* item : Form1->lessonItems)
        Print("menu", item->text() + (item->isEnabled() ? " enabled" : " disabled"));
    PrintLesson();
    if (choose > 0 && static_cast<std::size_t>(choose) <= Form1->lessonItems.size()) {
        Form1->lessonItems[static_cast<std::size_t>(choose - 1)]->trigger();
        PrintLesson();
    }
    for (int button = 1; button <= kLessonCharCount; ++button) {
        Click(Form1->CharacterButton(button));
        Print("card", Form1->Label7->text() + ' ' + Form1->Label8->text());
    }
    Click(Form1->Image8);
    Form1->Exit1->trigger();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "--choose") == 0) choose = std::atoi(argv[2]);
    SetMessageSink([](const std::string& text) { Print("message", QString::fromLatin1(text)); });
    SetClock({.ticks = [] { return now += kStrokeWaitMs; }});
    int one = 1;
    const int status = RunCourse(one, argv, kCourse, [] { QTimer::singleShot(0, Drive); });
    Print("exit", QString::number(status));
    return status;
}
