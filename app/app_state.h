#pragma once
// Process-wide state of the main window (one GUI thread, plain globals).
#include <windows.h>

extern HWND g_mainWnd;        // 0 before creation and after Exit, close or destroy
extern int g_boardPresent;    // ConnectBoard succeeded at the last initialisation
extern int g_unitMode;        // 0 As Stored, 1 inches, 2 millimetres
extern int g_radio_last;      // 0..4 for X, Y, Z, Q, Zoom
extern int g_zoomType;        // "ZoomType", low 8 bits; 5 is the zoom without home limit
extern int g_testerMode;      // "TavRosenTester", low 8 bits

inline constexpr int kUnitStored = 0;
inline constexpr int kUnitInch = 1;
inline constexpr int kUnitMm = 2;

void ResetAppState();
