#include "tests/support/windows.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTest>
#include <QWindow>

#include "app/About.h"
#include "app/Main.h"
#include "app/runtime/runtime.h"
#include "phrase/Phrase.h"

TForm1* OpenMainWindow(std::vector<std::string>& messages, AlsoCreate also) {
    messages.clear();
    SetMessageSink([&messages](const std::string& text) { messages.push_back(text); });
    Form1 = new TForm1;
    if (also == AlsoCreate::PhraseWindow) FrmPhrase = new TFrmPhrase;
    if (also == AlsoCreate::AboutBox) AboutDlg = new TAboutDlg;
    Form1->show();
    return QTest::qWaitForWindowExposed(Form1) ? Form1 : nullptr;
}

void CloseMainWindow() {
    delete FrmPhrase;
    FrmPhrase = nullptr;
    delete AboutDlg;
    AboutDlg = nullptr;
    delete Form1;
    Form1 = nullptr;
    SetMessageSink({});
}

int OverrideCursorCode() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    if (cursor == nullptr) return kCursorDefault;
    if (cursor->shape() == Qt::ArrowCursor) return kCursorArrow;
    if (cursor->shape() == Qt::PointingHandCursor) return kCursorHandPoint;
    return -1;
}

void CheckEscapeLeavesOpen(QWidget* window, QWidget* control) {
    QTest::keyClick(window, Qt::Key_Escape);
    QTest::keyClick(control, Qt::Key_Escape);
    QCoreApplication::processEvents();
    QVERIFY(window->isVisible());
    window->windowHandle()->close();
    QTRY_VERIFY(!window->isVisible());
}
