#pragma once
// The System dialog (120): the board-wide cycle time, heartbeat and start-up
// delay in the parameter table. Nothing goes to the board here; Apply and
// Save To Flash carry the values there.
#include <windows.h>

INT_PTR CALLBACK SystemDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
void RunSystemDialog(HWND owner);
