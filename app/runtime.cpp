#include "app/runtime.h"

#include <QApplication>
#include <QMessageBox>
#include <utility>

namespace {
std::function<void(const std::string&)>& MessageSink() {
    static std::function<void(const std::string&)> sink;
    return sink;
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
