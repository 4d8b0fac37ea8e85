#pragma once
// "Encoder": the position encoder of one axis (signal type, interpolation,
// resolution, count direction, reference-mark polarity and coding). Each
// changed setting goes to the board at once; nothing to flash.
#include <windows.h>

INT_PTR CALLBACK EncoderDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
// Modal; the main window stops its timer around it.
void OpenEncoderDialog(HWND owner);
