#pragma once
#include <windows.h>

// A balloon tooltip on a control; the tooltip window, or none (with a "TT
// Fail" line in the log).
HWND AddToolTip(int controlId, HWND wnd, const wchar_t* text);
