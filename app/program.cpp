#include "app/program.h"

#include <QApplication>
#include <exception>
#include <memory>

#include "app/About.h"
#include "app/Main.h"
#include "app/runtime/runtime.h"
#include "phrase/Phrase.h"

namespace {

// Shows an exception that escapes an event handler and goes on.
class Application : public QApplication {
public:
    Application(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            ShowException(e.what());
        } catch (...) {
            ShowException("");
        }
        return false;
    }
};

}  // namespace

int RunProgram(int argc, char** argv, const std::function<void()>& started) {
    return RunProgram(argc, argv, {}, started);
}

int RunProgram(int argc, char** argv, const std::function<void()>& prepare,
               const std::function<void()>& started) {
    std::unique_ptr<Application> app;
    try {
        app = std::make_unique<Application>(argc, argv);
        QApplication::setApplicationName("TallowFern");
        if (prepare) prepare();
        Form1 = new TForm1;
        FrmPhrase = new TFrmPhrase;
        AboutDlg = new TAboutDlg;
        if (started) started();
        Form1->show();
        QApplication::exec();
        delete AboutDlg;
        delete FrmPhrase;
        delete Form1;
        AboutDlg = nullptr;
        FrmPhrase = nullptr;
        Form1 = nullptr;
    } catch (const std::exception& e) {
        if (app) ShowException(e.what());
    } catch (...) {
        if (app) ShowException("");
    }
    return 0;
}
