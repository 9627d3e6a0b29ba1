// The wait that serves the event loop (declared in app/runtime/runtime.h).
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "app/runtime/clock.h"
#include "app/runtime/runtime.h"

namespace {

bool& QuitSeen() {
    static bool seen = false;
    return seen;
}

// Exit codes of the nested loop; any other code comes from the application's exit().
constexpr int kDeadline = 0x7F01;
constexpr int kWindowGone = 0x7F02;

// Ends the nested loop when the watched window is hidden or closed.
class WindowWatch : public QObject {
public:
    explicit WindowWatch(QEventLoop& loop) : loop_(loop) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide || event->type() == QEvent::Close) {
            loop_.exit(kWindowGone);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop& loop_;
};

bool PictureGone(const QPointer<const QWidget>& guard, bool guarded) {
    if (!guarded) return false;
    return guard.isNull() || !guard->window()->isVisible();
}

}  // namespace

bool ApplicationQuitting() {
    return QuitSeen() || QCoreApplication::closingDown();
}

bool WaitProcessingEvents(std::uint32_t ms, const QWidget* picture) {
    const bool guarded = picture != nullptr;
    const QPointer<const QWidget> guard(picture);
    const std::uint32_t start = TickCount();
    // Whatever is pending is served at least once, even with a clock that has run ahead.
    ProcessMessages();
    for (;;) {
        if (ApplicationQuitting() || PictureGone(guard, guarded)) return false;
        const std::uint32_t elapsed = TicksSince(start, TickCount());
        if (elapsed >= ms) return true;

        QEventLoop loop;
        QTimer deadline;
        deadline.setSingleShot(true);
        deadline.setTimerType(Qt::PreciseTimer);
        QObject::connect(&deadline, &QTimer::timeout, &loop, [&loop] { loop.exit(kDeadline); });
        WindowWatch watch(loop);
        const QPointer<QWidget> window(guarded ? guard->window() : nullptr);
        if (window) {
            window->installEventFilter(&watch);
            QObject::connect(window.data(), &QObject::destroyed, &loop,
                             [&loop] { loop.exit(kWindowGone); });
        }
        deadline.start(static_cast<int>(ms - elapsed));
        const int code = loop.exec();
        if (window) window->removeEventFilter(&watch);
        if (code != kDeadline && code != kWindowGone) QuitSeen() = true;
    }
}
