// The whole program ended in the middle of a stroke animation, run as a child
// process of this test on the real clock: it must exit with status 0, at once,
// and print nothing on standard error (no painting on a window that is gone).
// Child standard output:
//   closing: <CardReady at the moment the window is closed>
//   exit: <status RunProgram returned> <ms from the close to the return>
#include <QAction>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/Main.h"
#include "app/program.h"
#include "app/runtime/controls.h"
#include "app/runtime/runtime.h"
#include "lesson/card.h"
#include "tests/support/child_run.h"

namespace {

constexpr int kCloseAfterMs = 2500;  // 家 has ten strokes: its animation is still running

ChildRun RunChild(const QString& mode) {
    return RunChild(mode, QDir::currentPath(), 30000);
}

QElapsedTimer closedAt;

// In the child: clicks 家, then ends the program from within the animation.
void DriveChild(bool byMenu) {
    if (!QTest::qWaitForWindowExposed(Form1)) std::printf("not exposed\n");
    QTimer::singleShot(kCloseAfterMs, [byMenu] {
        std::printf("closing: %d\n", CardReady);
        std::fflush(stdout);
        closedAt.start();
        if (byMenu) {
            Form1->Exit1->trigger();
        } else {
            // The path of the window manager's close button.
            Form1->windowHandle()->close();
        }
    });
    QTest::mouseClick(Form1->Image2, Qt::LeftButton);
}

int ChildMain(int argc, char** argv, bool byMenu) {
    SetMessageSink([](const std::string& text) {
        std::printf("message: %s\n", text.c_str());
        std::fflush(stdout);
    });
    const int status = RunProgram(
        argc, argv, [byMenu] { QTimer::singleShot(0, [byMenu] { DriveChild(byMenu); }); });
    std::printf("exit: %d %lld\n", status, static_cast<long long>(closedAt.elapsed()));
    return status;
}

void CheckRun(const ChildRun& run) {
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.errors.isEmpty(), qPrintable(run.errors));
    const QStringList lines = run.output.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], QString("closing: 0"));
    QVERIFY2(lines[1].startsWith("exit: 0 "), qPrintable(lines[1]));
    // The seven strokes left would take seven seconds more.
    const int afterClose = lines[1].section(' ', 2).toInt();
    QVERIFY2(afterClose < 3000, qPrintable(lines[1]));
}

}  // namespace

class CardCloseTest : public QObject {
    Q_OBJECT

private slots:
    void closingTheWindowDuringAnAnimationEndsTheProgram() { CheckRun(RunChild("--child-close")); }
    void fileExitDuringAnAnimationEndsTheProgram() { CheckRun(RunChild("--child-exit")); }
};

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--child-close") == 0) return ChildMain(1, argv, false);
    if (argc == 2 && std::strcmp(argv[1], "--child-exit") == 0) return ChildMain(1, argv, true);
    QCoreApplication app(argc, argv);
    CardCloseTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "card_close_test.moc"
