// The program's windows as the tests open and close them.
#pragma once

#include <string>
#include <vector>

class QWidget;
class TForm1;

enum class AlsoCreate { Nothing, PhraseWindow, AboutBox };

// Makes the main window (Form1), and the phrase window or the about box when
// asked, sends the messages the program shows to messages (emptied first) and
// shows the main window. Returns Form1, or nullptr when it is not exposed.
TForm1* OpenMainWindow(std::vector<std::string>& messages, AlsoCreate also = AlsoCreate::Nothing);

// Deletes the windows OpenMainWindow made and stops collecting messages.
void CloseMainWindow();

// The screen's cursor override as SetScreenCursor codes it: kCursorDefault
// without one, kCursorArrow, kCursorHandPoint; -1 for any other.
int OverrideCursorCode();

// Escape pressed on a shown window and on one of its controls leaves it open;
// the title bar's close button then hides it.
void CheckEscapeLeavesOpen(QWidget* window, QWidget* control);
