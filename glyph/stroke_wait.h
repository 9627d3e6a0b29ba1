// The pause after each stroke: a millisecond tick source and a wait that keeps
// the GUI responsive. The wait blocks on the event queue until the deadline
// (it does not poll) and dispatches paints and clicks as they arrive.
#pragma once

#include <cstdint>
#include <functional>

class QWidget;

inline constexpr std::uint32_t kStrokeWaitMs = 1000;

// Milliseconds of a monotonic clock, wrapping at 2^32 like a system tick count.
using TickSource = std::function<std::uint32_t()>;

std::uint32_t SystemTickCount();
// The tick count the waits use: the system's, or the one a test has set.
std::uint32_t TickCount();
// Tests replace the clock; an empty function restores the system's.
void SetTickSource(TickSource source);

// Milliseconds from start to now, correct across the wrap of the counter.
inline std::uint32_t TicksSince(std::uint32_t start, std::uint32_t now) {
    return now - start;
}

// Processes GUI events until ms have passed on TickCount(). Returns false,
// early, when the application is quitting, or when picture (if given) is
// destroyed or its window is closed: the caller must stop drawing then.
bool WaitProcessingEvents(std::uint32_t ms, const QWidget* picture);

// Whether an earlier wait saw the application quit.
bool ApplicationQuitting();
