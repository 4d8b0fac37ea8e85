#pragma once
// "User Parameters": the program's own settings of the flash record (homing,
// zero offsets, fences, stepper drive, zoom positions, lamp connection), per
// axis where they are per axis, lengths in the main window's unit.
#include <windows.h>

INT_PTR CALLBACK UserParamsDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
// Modal; the main window refreshes its fields afterwards.
void OpenUserParamsDialog(HWND owner);
