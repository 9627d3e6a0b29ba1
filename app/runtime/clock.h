// The program's clock: the millisecond tick count that the waits between
// strokes measure with, and today's date; tests set both. With the runtime's
// texts of numbers and dates. (Playback waits for the audio device on SDL's
// own ticks: a sound lasts as long as it plays, whatever clock a test sets.)
#pragma once

#include <QDate>
#include <QString>
#include <cstdint>
#include <functional>

// Milliseconds of a monotonic clock, wrapping at 2^32 like a system tick count.
std::uint32_t SystemTickCount();
// The tick count the waits use: the system's, or the one a test has set.
std::uint32_t TickCount();

// Milliseconds from start to now, correct across the wrap of the counter.
inline std::uint32_t TicksSince(std::uint32_t start, std::uint32_t now) {
    return now - start;
}

// Today's date: the system's, or the one a test has set.
QDate Date();

// Tests replace the clock's readings; an empty reading is the system's, so
// SetClock({}) restores both.
struct Clock {
    std::function<std::uint32_t()> ticks{};
    std::function<QDate()> date{};
};
void SetClock(Clock clock);

QString IntToStr(int value);
// The date in the short format of the user's locale.
QString DateToStr(const QDate& date);
