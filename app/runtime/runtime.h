// The GUI runtime layer's services for every window: message boxes, the
// cursor override, shell-open, the event loop (serving it, the wait that
// serves it, ending it) and the end of the process. Qt's widgets appear only
// as declared pointers, so the glyph layer calls these without Qt headers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class QWidget;

// A plain modal message box with an OK button; returns when it is dismissed.
void ShowMessage(const std::string& text);

// Tests replace the modal box: while a sink is set, ShowMessage hands the
// text to it and returns at once. An empty function restores the box.
void SetMessageSink(std::function<void(const std::string&)> sink);

// The standard box for an exception that reached the event loop.
void ShowException(const std::string& message);

// The screen's cursor override: 0 default (each control's own cursor),
// -2 arrow, -21 hand pointer; any other value than 0 shows over every window.
inline constexpr int kCursorDefault = 0;
inline constexpr int kCursorArrow = -2;
inline constexpr int kCursorHandPoint = -21;
void SetScreenCursor(int cursor);

// Opens a file (relative to the working directory) or an address with the
// desktop's default program; the result is not reported.
void ShellOpen(const std::string& target);
// Tests replace the desktop call; an empty function restores it.
void SetShellOpenHandler(std::function<void(const std::string&)> handler);

// Dispatches every pending event and returns.
void ProcessMessages();

// Processes GUI events until ms have passed on TickCount() (app/runtime/clock.h):
// serves what is pending first, then blocks on the event queue until the
// deadline (it does not poll), dispatching paints and clicks as they arrive.
// Returns false, early, when the application is quitting, or when picture (if
// given) is destroyed or its window is closed: the caller must stop drawing then.
bool WaitProcessingEvents(std::uint32_t ms, const QWidget* picture);
// Whether an earlier wait saw the application quit.
bool ApplicationQuitting();
// Schedules a repaint of control at the next processing of events; nothing for nullptr.
void Invalidate(QWidget* control);

// Ends the event loop: the program then exits with status 0.
void TerminateApplication();

// Ends the process at once with status. While a test has set a handler, the
// handler is given the status instead and ExitProgram returns: the caller
// then gives up what it was doing.
void ExitProgram(int status);
// Tests replace the exit; an empty function restores it.
void SetExitHandler(std::function<void(int)> handler);
