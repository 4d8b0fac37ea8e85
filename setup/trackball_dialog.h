#pragma once
// The Track Ball dialog (106): coarse and fine rate, deadband, direction and
// enable of the trackball for X, Y and Z, with the live positions of X, Y, Z
// and Q.
#include <windows.h>

INT_PTR CALLBACK TrackballDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
void RunTrackballDialog(HWND owner);
