#pragma once
// The program's main window on a fresh simulated board whose flash holds a
// valid record, as a benchmark needs it: no prompts, its timer stopped so the
// benchmark drives the work itself.
#include <windows.h>

#include <functional>

HWND StartBenchProgram();
void StopBenchProgram(HWND main);

// Wall-clock microseconds per call of work, over count calls.
double MicrosecondsPerCall(const std::function<void()>& work, int count);
