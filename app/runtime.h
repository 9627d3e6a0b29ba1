// Application-wide services of the GUI layer: message boxes and the like.
#pragma once

#include <functional>
#include <string>

// A plain modal message box with an OK button; returns when it is dismissed.
void ShowMessage(const std::string& text);

// Tests replace the modal box: while a sink is set, ShowMessage hands the
// text to it and returns at once. An empty function restores the box.
void SetMessageSink(std::function<void(const std::string&)> sink);
