// The main window as the learner sees it: its decoration read back pixel by
// pixel, the status bar, the menus, the link, the hover cursors and the about
// box. Child runs of the whole program check how it ends.
#include <QAction>
#include <QFile>
#include <QLocale>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/About.h"
#include "app/Main.h"
#include "app/program.h"
#include "app/runtime/clock.h"
#include "app/runtime/controls.h"
#include "app/runtime/runtime.h"
#include "phrase/Phrase.h"
#include "tests/support/child_run.h"
#include "tests/support/font_record.h"
#include "tests/support/window_glyphs.h"
#include "tests/support/windows.h"

namespace {

const QRgb kSeparatorRgb = qRgb(255, 190, 125);
const QRgb kBlueRgb = qRgb(0, 0, 255);
const QRgb kRedRgb = qRgb(255, 0, 0);

const char* const kFontFile = "dat/hzk24k.dat";

// Runs the child mode in dir: it must end normally, with status 0, having
// printed output.
void CheckChild(const QString& mode, const QString& dir, const QString& output,
                const QStringList& extra = {}) {
    const ChildRun run = RunChild(mode, dir, 20000, extra);
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.output, output);
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void separatorLinesLieOnTheirRowsAndEnds();
    void captionGlyphsMatchTheFontInBlue();
    void buttonGlyphsAreRedInTheirPictures();
    void repaintGivesIdenticalPixels();
    void statusBarShowsTheStartUpDateInTheShortFormat();
    void layoutPutsControlsWhereTheFormHasThem();

    void volumeItemsAndSearchAreDisabled();
    void menuItemsHaveTheirNamesAndCaptions();
    void aboutTwiceShowsOneBoxAndEnterClosesIt();
    void escapeLeavesTheAboutBoxOpen();
    void linkClicksOpenTheSameAddressEachTime();
    void helpTopicOpensTheHelpFileOfTheWorkingDirectory();
    void movingFromTheLinkOntoTheMemoLeavesTheArrow();
    void phraseLabelSetsAndClearsTheHand();
    void memoGetsItsScrollBarOnTheFirstMove();

    void missingFontEndsTheProgramWithItsMessage();
    void fileExitEndsTheProgramWithStatusZero();
    void closingTheMainWindowEndsTheProgramWithTheAboutBoxOpen();
    void handlerExceptionsAreShownAndTheLoopGoesOn();
    void startUpExceptionsAreShownAndEndWithStatusZero();

private:
    QImage Client() {
        return form_->Client->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    TForm1* form_ = nullptr;
    std::vector<std::string> shellOpened_;
    std::vector<std::string> messages_;
};

void MainWindowTest::init() {
    shellOpened_.clear();
    SetShellOpenHandler([this](const std::string& target) { shellOpened_.push_back(target); });
    SetScreenCursor(kCursorDefault);
    form_ = OpenMainWindow(messages_, AlsoCreate::AboutBox);
    QVERIFY(form_);
}

void MainWindowTest::cleanup() {
    CloseMainWindow();
    form_ = nullptr;
    SetScreenCursor(kCursorDefault);
    SetShellOpenHandler({});
    SetClock({});
    QLocale::setDefault(QLocale::c());
}

// A width-2 pen covers the row of the line and the one above it, from one
// pixel left of the first point to the pixel before the end point.
void MainWindowTest::separatorLinesLieOnTheirRowsAndEnds() {
    const QImage image = Client();
    struct Row {
        int y, x1, x2;
    };
    const Row rows[] = {{80, 132, 627}, {120, 132, 627}, {160, 132, 627},
                        {215, 1, 627},  {260, 1, 627},   {300, 1, 627}};
    for (const Row& r : rows) {
        for (int x = r.x1 - 1; x < r.x2; ++x) {
            QCOMPARE(image.pixel(x, r.y), kSeparatorRgb);
            QCOMPARE(image.pixel(x, r.y - 1), kSeparatorRgb);
        }
        QVERIFY(image.pixel(r.x2, r.y) != kSeparatorRgb);
        QVERIFY(image.pixel(r.x1 + 300, r.y + 1) != kSeparatorRgb);
        QVERIFY(image.pixel(r.x1 + 300, r.y - 2) != kSeparatorRgb);
    }
    // The lower lines start at the window's left edge, the upper ones right of the card.
    QCOMPARE(image.pixel(0, 260), kSeparatorRgb);
    QVERIFY(image.pixel(130, 80) != kSeparatorRgb);
}

void MainWindowTest::captionGlyphsMatchTheFontInBlue() {
    const QImage image = Client();
    for (const CaptionGlyph& g : CaptionGlyphs()) {
        const std::vector<std::uint8_t> record = FontRecord(kFontFile, g.code);
        QCOMPARE(record.size(), std::size_t{72});
        int ink = 0;
        for (int column = 0; column < 24; ++column) {
            for (int row = 0; row < 24; ++row) {
                const QRgb pixel = image.pixel(g.x + column, g.y + row);
                if (Ink(record, column, row)) {
                    QCOMPARE(pixel, kBlueRgb);
                    ++ink;
                } else {
                    QVERIFY(pixel != kBlueRgb);
                }
            }
        }
        QVERIFY2(ink > 20, g.code.c_str());
    }
}

void MainWindowTest::buttonGlyphsAreRedInTheirPictures() {
    Client();  // a paint draws the buttons
    for (int i = 1; i <= kLessonCharCount; ++i) {
        const std::vector<std::uint8_t> record = FontRecord(kFontFile, kLessonCodes[i - 1]);
        const QImage picture = form_->CharacterButton(i)->Picture();
        QCOMPARE(picture.size(), QSize(26, 26));
        for (int column = 0; column < 24; ++column) {
            for (int row = 0; row < 24; ++row) {
                const QRgb pixel = picture.pixel(1 + column, 1 + row);
                if (Ink(record, column, row)) {
                    QCOMPARE(pixel, kRedRgb);
                } else {
                    QCOMPARE(qAlpha(pixel), 0);
                }
            }
        }
        // The glyph shows through the button as the learner sees it.
        const QImage shown = form_->CharacterButton(i)->grab().toImage();
        for (int column = 0; column < 24; ++column) {
            for (int row = 0; row < 24; ++row) {
                if (Ink(record, column, row))
                    QCOMPARE(shown.pixel(1 + column, 1 + row) & 0xFFFFFF, kRedRgb & 0xFFFFFF);
            }
        }
    }
}

void MainWindowTest::repaintGivesIdenticalPixels() {
    const QImage first = Client();
    form_->showMinimized();
    QTest::qWait(20);
    form_->showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
    form_->Client->repaint();
    QCOMPARE(Client(), first);
}

void MainWindowTest::statusBarShowsTheStartUpDateInTheShortFormat() {
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    SetClock({.date = [] { return QDate(2002, 11, 28); }});
    TForm1 form;
    QCOMPARE(form.StatusBar1->PanelCount(), 8);
    QCOMPARE(form.StatusBar1->PanelText(5), QString("now 2002-11-28"));
    for (int i : {0, 1, 2, 3, 4, 6, 7}) QVERIFY(form.StatusBar1->PanelText(i).isEmpty());
    const int widths[] = {50, 55, 100, 50, 117, 100, 50, 50};
    for (int i = 0; i < 8; ++i) QCOMPARE(form.StatusBar1->PanelWidth(i), widths[i]);

    // The date is the start-up date: a later day does not change it.
    SetClock({.date = [] { return QDate(2002, 11, 29); }});
    form.repaint();
    QCOMPARE(form.StatusBar1->PanelText(5), QString("now 2002-11-28"));

    // Another locale, another short format.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TForm1 us;
    QCOMPARE(us.StatusBar1->PanelText(5), QString("now 11/29/02"));
}

void MainWindowTest::layoutPutsControlsWhereTheFormHasThem() {
    QCOMPARE(form_->Client->size(), QSize(632, 358));
    QVERIFY(form_->Client->geometry().top() >= form_->MainMenu1->height());
    QCOMPARE(form_->size(), form_->minimumSize());
    QCOMPARE(form_->size(), form_->maximumSize());
    QVERIFY(!(form_->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(form_->windowTitle(), QString("TallowFern demo"));

    QCOMPARE(form_->Panel1->geometry(), QRect(0, 0, 632, 31));
    const int lefts[] = {0, 44, 88, 132, 177};
    for (int i = 1; i <= 5; ++i) {
        QCOMPARE(form_->CharacterFrame(i)->geometry(), QRect(lefts[i - 1], 1, 28, 28));
        QCOMPARE(form_->CharacterFrame(i)->BevelOuter(), Bevel::Raised);
        QCOMPARE(form_->CharacterButton(i)->geometry(), QRect(1, 1, 26, 26));
    }
    QCOMPARE(form_->Panel10->objectName(), QString("Panel10"));
    QCOMPARE(form_->Panel7->objectName(), QString("Panel7"));
    QCOMPARE(form_->Panel2->geometry(), QRect(0, 33, 129, 129));
    QCOMPARE(form_->Image6->geometry(), QRect(0, -1, 129, 133));
    QCOMPARE(form_->Image8->geometry(), QRect(448, 52, 22, 22));
    QVERIFY(!form_->Image8->isEnabled());
    QCOMPARE(form_->Memo1->geometry(), QRect(135, 164, 441, 49));
    QCOMPARE(form_->StatusBar1->geometry(), QRect(0, 311, 632, 19));
    QCOMPARE(form_->Panel3->geometry(), QRect(0, 330, 632, 28));
    QCOMPARE(form_->LabelMyWeb->geometry(), QRect(464, 8, 140, 13));
    QCOMPARE(form_->Label1->geometry(), QRect(240, 51, 180, 24));
    QCOMPARE(form_->Label6->geometry(), QRect(65, 273, 54, 24));
    QCOMPARE(form_->Label7->pos(), QPoint(348, 88));
    QCOMPARE(form_->Label10->geometry(), QRect(135, 228, 233, 20));
    QCOMPARE(form_->Label10->text(), QString("       click here to Get Phrases       "));
    // Its white caption stands in the middle of the orange box.
    const QImage label10 = Client().copy(form_->Label10->geometry());
    int inkLeft = label10.width(), inkRight = -1, inkTop = label10.height(), inkBottom = -1;
    for (int y = 0; y < label10.height(); ++y) {
        for (int x = 0; x < label10.width(); ++x) {
            if (label10.pixel(x, y) == kSeparatorRgb) continue;
            inkLeft = std::min(inkLeft, x);
            inkRight = std::max(inkRight, x);
            inkTop = std::min(inkTop, y);
            inkBottom = std::max(inkBottom, y);
        }
    }
    QVERIFY(inkRight - inkLeft > 120);
    QVERIFY2(std::abs(inkLeft - (label10.width() - 1 - inkRight)) <= 2,
             qPrintable(QString("caption from x %1 to %2").arg(inkLeft).arg(inkRight)));
    QVERIFY2(std::abs(inkTop - (label10.height() - 1 - inkBottom)) <= 3,
             qPrintable(QString("caption from y %1 to %2").arg(inkTop).arg(inkBottom)));
    QVERIFY(form_->Label7->text().isEmpty());
    QVERIFY(form_->Label8->text().isEmpty());
    QVERIFY(form_->Memo1->Lines().isEmpty());
    QCOMPARE(form_->Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(QByteArray(LessonChars), QByteArray("\xB4\xF3\xBC\xD2\xD1\xA7\xD6\xD0\xCE\xC4"));
}

void MainWindowTest::volumeItemsAndSearchAreDisabled() {
    QCOMPARE(form_->volumeItems.size(), std::size_t{21});
    for (QAction* item : form_->volumeItems) QVERIFY2(!item->isEnabled(), qPrintable(item->text()));
    QVERIFY(!form_->Search1->isEnabled());
    QVERIFY(form_->Exit1->isEnabled() && form_->About1->isEnabled());
}

void MainWindowTest::menuItemsHaveTheirNamesAndCaptions() {
    QCOMPARE(form_->File1->title(), QString("&File"));
    QCOMPARE(form_->Lesson1->title(), QString("&Lesson"));
    QCOMPARE(form_->Help1->title(), QString("&Help"));
    QCOMPARE(form_->chinese1->title(), QString("<chinese>"));
    QCOMPARE(form_->StandardChinese1->title(), QString("<Standard Chinese>"));
    QStringList names;
    for (QAction* a : form_->volumeItems) names << a->objectName();
    QCOMPARE(names,
             QStringList({"volume11", "volume21", "volume31", "volume41",  "volume51",  "volume61",
                          "volume71", "volume81", "volume91", "volume101", "volume111", "volume121",
                          "volume12", "volume22", "volume32", "volume42",  "volume52",  "volume62",
                          "volume72", "volume82", "volume1"}));
    QCOMPARE(form_->volumeItems[11]->text(), QString("volume12"));
    QCOMPARE(form_->volumeItems[20]->text(), QString("volume9"));
    const QList<QAction*> help = form_->Help1->actions();
    QCOMPARE(help.size(), 4);
    QCOMPARE(help[0]->text(), QString("Help Topic"));
    QVERIFY(help[1]->isSeparator());
    QCOMPARE(help[2]->text(), QString("TallowFern Home Page"));
    QCOMPARE(help[3]->text(), QString("About"));
    QCOMPARE(form_->Exit1->text(), QString("Exit"));
}

void MainWindowTest::aboutTwiceShowsOneBoxAndEnterClosesIt() {
    form_->About1->trigger();
    form_->About1->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(AboutDlg));
    int boxes = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<TAboutDlg*>(w) && w->isVisible()) ++boxes;
    }
    QCOMPARE(boxes, 1);
    QCOMPARE(AboutDlg->size(), QSize(313, 214));
    QCOMPARE(AboutDlg->windowTitle(), QString("About TallowFern"));
    QCOMPARE(AboutDlg->Label1->text(), QString("TallowFern demo Version "));
    QCOMPARE(AboutDlg->OKBtn->geometry(), QRect(119, 180, 75, 25));
    QVERIFY(AboutDlg->OKBtn->isDefault());
    // Modeless: a click on the main window's link still reaches it.
    QTest::mouseClick(form_->windowHandle(), Qt::LeftButton, {},
                      form_->LabelMyWeb->mapTo(form_, QPoint(20, 6)));
    QCOMPARE(shellOpened_.size(), std::size_t{1});

    QTest::keyClick(AboutDlg, Qt::Key_Return);
    QVERIFY(!AboutDlg->isVisible());
    form_->About1->trigger();
    QVERIFY(AboutDlg->isVisible());
    QTest::mouseClick(AboutDlg->OKBtn, Qt::LeftButton);
    QVERIFY(!AboutDlg->isVisible());
}

// The box has no Cancel button: Escape does nothing, the title bar's close
// button hides it.
void MainWindowTest::escapeLeavesTheAboutBoxOpen() {
    form_->About1->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(AboutDlg));
    CheckEscapeLeavesOpen(AboutDlg, AboutDlg->OKBtn);
    if (QTest::currentTestFailed()) return;
    form_->About1->trigger();
    QVERIFY(AboutDlg->isVisible());
}

void MainWindowTest::linkClicksOpenTheSameAddressEachTime() {
    QTest::mouseClick(form_->LabelMyWeb, Qt::LeftButton);
    QTest::mouseClick(form_->LabelMyWeb, Qt::LeftButton);
    form_->TallowFernHomePage1->trigger();
    QCOMPARE(shellOpened_.size(), std::size_t{3});
    for (const std::string& target : shellOpened_)
        QCOMPARE(target, std::string("http://tallowfern.example"));
    QCOMPARE(form_->LabelMyWeb->text(), QString("http://tallowfern.example"));
}

void MainWindowTest::helpTopicOpensTheHelpFileOfTheWorkingDirectory() {
    form_->HelpTopic1->trigger();
    QCOMPARE(shellOpened_.size(), std::size_t{1});
    QCOMPARE(shellOpened_[0], std::string("tallowfern.chm"));
}

void MainWindowTest::movingFromTheLinkOntoTheMemoLeavesTheArrow() {
    QWidget* window = form_;
    const QPoint link = form_->LabelMyWeb->mapTo(window, QPoint(20, 6));
    QTest::mouseMove(window, link);
    QTest::mouseMove(window, link + QPoint(1, 0));
    QTRY_VERIFY(form_->LabelMyWeb->Bold());
    QCOMPARE(OverrideCursorCode(), kCursorHandPoint);
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);

    QTest::mouseMove(window, form_->Memo1->mapTo(window, QPoint(100, 20)));
    QTRY_COMPARE(OverrideCursorCode(), kCursorArrow);
    QVERIFY(!form_->LabelMyWeb->Bold());
    QVERIFY(QGuiApplication::overrideCursor() != nullptr);
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
}

void MainWindowTest::phraseLabelSetsAndClearsTheHand() {
    QWidget* window = form_;
    QTest::mouseMove(window, form_->Label10->mapTo(window, QPoint(30, 10)));
    QTRY_COMPARE(OverrideCursorCode(), kCursorHandPoint);
    QTest::mouseMove(window, form_->Memo1->mapTo(window, QPoint(100, 20)));
    QTRY_COMPARE(OverrideCursorCode(), kCursorDefault);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void MainWindowTest::memoGetsItsScrollBarOnTheFirstMove() {
    QCOMPARE(form_->Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QWidget* window = form_;
    QTest::mouseMove(window, form_->Memo1->mapTo(window, QPoint(50, 10)));
    QTest::mouseMove(window, form_->Memo1->mapTo(window, QPoint(60, 12)));
    QTRY_COMPARE(form_->Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(form_->Memo1->cursorWidth(), 0);
}

void MainWindowTest::missingFontEndsTheProgramWithItsMessage() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    CheckChild("--child-run", dir.path(),
               "message: chinese font File not found,please check or "
               "e_mail:help@tallowfern.example\n");
}

void MainWindowTest::fileExitEndsTheProgramWithStatusZero() {
    CheckChild("--child-exit", QDir::currentPath(), "exited\n");
}

void MainWindowTest::closingTheMainWindowEndsTheProgramWithTheAboutBoxOpen() {
    CheckChild("--child-close-with-about", QDir::currentPath(), "about shown\nexited\n");
}

void MainWindowTest::handlerExceptionsAreShownAndTheLoopGoesOn() {
    // Qt's mouse event delivery is not exception-safe: the copy of the event it
    // makes for a handler that throws is never freed. Leak checking would fail
    // this child on Qt's allocations, so it is off here alone.
    const QString sanitizer = qEnvironmentVariable("ASAN_OPTIONS");
    CheckChild("--child-handler-throws", QDir::currentPath(),
               "message: no such lesson\nmessage: \nstill running\nexited\n",
               {"ASAN_OPTIONS=" + sanitizer + (sanitizer.isEmpty() ? "" : ":") + "detect_leaks=0"});
}

void MainWindowTest::startUpExceptionsAreShownAndEndWithStatusZero() {
    CheckChild("--child-start-throws", QDir::currentPath(), "message: start failed\nreturned\n");
    if (QTest::currentTestFailed()) return;
    CheckChild("--child-start-throws-int", QDir::currentPath(), "message: \nreturned\n");
}

// Child modes: the whole program, its messages on standard output.
namespace {

void Say(const char* text) {
    std::printf("%s\n", text);
    std::fflush(stdout);
}

// A click on Label10 runs the given handler instead of the phrase search.
void OnLabel10Click(std::function<void()> handler) {
    QObject::disconnect(Form1->Label10, &TLabel::Click, Form1, nullptr);
    QObject::connect(Form1->Label10, &TLabel::Click, Form1, std::move(handler));
}

int ChildMain(char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    SetMessageSink([](const std::string& text) {
        std::printf("message: %s\n", text.c_str());
        std::fflush(stdout);
    });
    const std::string mode = argv[1];
    std::function<void()> started;
    if (mode == "--child-exit") {
        started = [] { QTimer::singleShot(200, [] { Form1->Exit1->trigger(); }); };
    } else if (mode == "--child-close-with-about") {
        // The title bar's close button of the main window, the about box open.
        started = [] {
            QTimer::singleShot(200, [] {
                Form1->About1->trigger();
                if (AboutDlg->isVisible()) Say("about shown");
                Form1->windowHandle()->close();
            });
        };
    } else if (mode == "--child-handler-throws") {
        // Each click in an event of its own: the loop must go on after each throw.
        started = [] {
            QTimer::singleShot(200, [] {
                OnLabel10Click([] { throw std::runtime_error("no such lesson"); });
                QTest::mouseClick(Form1->Label10, Qt::LeftButton);
            });
            QTimer::singleShot(300, [] {
                OnLabel10Click([] { throw 7; });
                QTest::mouseClick(Form1->Label10, Qt::LeftButton);
            });
            QTimer::singleShot(400, [] {
                OnLabel10Click([] { Say("still running"); });
                QTest::mouseClick(Form1->Label10, Qt::LeftButton);
                Form1->Exit1->trigger();
            });
        };
    } else if (mode == "--child-start-throws") {
        started = [] { throw std::runtime_error("start failed"); };
    } else if (mode == "--child-start-throws-int") {
        started = [] { throw 3; };
    }
    const int status = RunProgram(1, argv, started);
    if (mode.starts_with("--child-start")) Say("returned");
    if (mode != "--child-run" && !mode.starts_with("--child-start")) Say("exited");
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strncmp(argv[1], "--child-", 8) == 0) return ChildMain(argv);
    QApplication app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
