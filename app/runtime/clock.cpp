#include "app/runtime/clock.h"

#include <QLocale>
#include <chrono>
#include <utility>

namespace {

Clock& TestClock() {
    static Clock clock;
    return clock;
}

}  // namespace

std::uint32_t SystemTickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

std::uint32_t TickCount() {
    return TestClock().ticks ? TestClock().ticks() : SystemTickCount();
}

QDate Date() {
    return TestClock().date ? TestClock().date() : QDate::currentDate();
}

void SetClock(Clock clock) {
    TestClock() = std::move(clock);
}

QString IntToStr(int value) {
    return QString::number(value);
}

QString DateToStr(const QDate& date) {
    return QLocale().toString(date, QLocale::ShortFormat);
}
