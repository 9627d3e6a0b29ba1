// Application-wide services of the GUI layer: message boxes, the cursor
// override, shell-open, the event loop and date and number texts.
#pragma once

#include <QDate>
#include <QString>
#include <functional>
#include <string>

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
int ScreenCursor();

// Opens a file (relative to the working directory) or an address with the
// desktop's default program; the result is not reported.
void ShellOpen(const std::string& target);
// Tests replace the desktop call; an empty function restores it.
void SetShellOpenHandler(std::function<void(const std::string&)> handler);

// Dispatches every pending event and returns.
void ProcessMessages();
// Ends the event loop: the program then exits with status 0.
void TerminateApplication();

QString IntToStr(int value);
// Today's date (tests may set another source).
QDate Date();
void SetDateSource(std::function<QDate()> source);
// The date in the short format of the user's locale.
QString DateToStr(const QDate& date);
