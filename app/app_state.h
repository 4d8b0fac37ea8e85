#pragma once
// Process-wide state of the main window (one GUI thread, plain globals).
// Free of windows.h so the conversions can use the selected axis and unit.
extern int g_boardPresent;    // ConnectBoard succeeded at the last initialisation
extern int g_unitMode;        // 0 As Stored, 1 inches, 2 millimetres
extern int g_radio_last;      // 0..4 for X, Y, Z, Q, Zoom
extern int g_zoomType;        // "ZoomType", low 8 bits; 5 is the zoom without home limit
extern int g_testerMode;      // "TavRosenTester", low 8 bits

inline constexpr int kUnitStored = 0;
inline constexpr int kUnitInch = 1;
inline constexpr int kUnitMm = 2;

void ResetAppState();
