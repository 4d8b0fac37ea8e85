#pragma once
// Readouts and captions are rewritten only when their text changed: the
// 10 ms polling then costs no repaint and no flicker.
#include <windows.h>

#include <cstdint>

// True when the control's text was changed.
bool SetControlTextIfChanged(HWND dialog, int id, const wchar_t* text);
bool SetControlTextIfChanged(HWND dialog, int id, const char* text);

// How many control texts were actually written, for tests and benchmarks.
uint64_t ControlTextWrites();
