#include "app/runtime/runtime.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>
#include <cstdlib>
#include <utility>

namespace {

std::function<void(const std::string&)>& MessageSink() {
    static std::function<void(const std::string&)> sink;
    return sink;
}

std::function<void(const std::string&)>& ShellOpenHandler() {
    static std::function<void(const std::string&)> handler;
    return handler;
}

std::function<void(int)>& ExitHandler() {
    static std::function<void(int)> handler;
    return handler;
}

}  // namespace

void ShowMessage(const std::string& text) {
    if (MessageSink()) {
        MessageSink()(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(),
                    QString::fromLatin1(text.c_str()), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void SetMessageSink(std::function<void(const std::string&)> sink) {
    MessageSink() = std::move(sink);
}

void ShowException(const std::string& message) {
    ShowMessage(message);
}

void SetScreenCursor(int cursor) {
    while (QGuiApplication::overrideCursor() != nullptr) QGuiApplication::restoreOverrideCursor();
    if (cursor == kCursorArrow) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    } else if (cursor == kCursorHandPoint) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::PointingHandCursor));
    }
}

void ShellOpen(const std::string& target) {
    if (ShellOpenHandler()) {
        ShellOpenHandler()(target);
        return;
    }
    const QString text = QString::fromLatin1(target.c_str());
    const QUrl url = text.contains(QStringLiteral("://"))
                         ? QUrl(text)
                         : QUrl::fromLocalFile(QDir::current().absoluteFilePath(text));
    QDesktopServices::openUrl(url);
}

void SetShellOpenHandler(std::function<void(const std::string&)> handler) {
    ShellOpenHandler() = std::move(handler);
}

void ProcessMessages() {
    QCoreApplication::processEvents();
}

void TerminateApplication() {
    QCoreApplication::quit();
}

void Invalidate(QWidget* control) {
    if (control != nullptr) control->update();
}

void ExitProgram(int status) {
    if (ExitHandler()) {
        ExitHandler()(status);
        return;
    }
    std::exit(status);
}

void SetExitHandler(std::function<void(int)> handler) {
    ExitHandler() = std::move(handler);
}
