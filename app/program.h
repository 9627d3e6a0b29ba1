// The program entry: creates the three windows and runs the event loop.
#pragma once

#include <functional>

// Runs the program; returns its exit status (0). started, if given, runs once
// the windows exist, before the event loop (test drivers use it).
int RunProgram(int argc, char** argv, const std::function<void()>& started = {});
// The same with prepare run first, once the application exists and before the
// windows are made.
int RunProgram(int argc, char** argv, const std::function<void()>& prepare,
               const std::function<void()>& started);
