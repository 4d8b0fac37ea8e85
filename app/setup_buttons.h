#pragma once
// The main window's buttons that open the axis setup dialogs: "Encoder",
// "User param", "Motor", "Calc", "System", "Copy Settings", "Trackball" and
// "SW Fence".
#include <windows.h>

void OnEncoderButton(HWND mainWnd);
void OnUserParamButton(HWND mainWnd);
void OnMotorButton(HWND mainWnd);
void OnCalcButton(HWND mainWnd);
void OnSystemButton(HWND mainWnd);
void OnCopySettingsButton(HWND mainWnd);
void OnTrackballButton(HWND mainWnd);
void OnSwFenceButton(HWND mainWnd);
void OnTouchProbeButton(HWND mainWnd);
