#pragma once
// The Copy Settings dialog (123, tester mode): every per-axis parameter of
// the source axis to the checked target axes, in the table and on the board.
#include <windows.h>

INT_PTR CALLBACK CopySettingsDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
void RunCopySettingsDialog(HWND owner);
