#pragma once
// The Joystick dialog's live display: the deflections, velocities and
// buttons, and the external output 5 the dialog's box drives.
#include <windows.h>

// The indicator bitmaps, for as long as the dialog shows them.
void LoadJoystickIndicators(HWND wnd);
void ReleaseJoystickIndicators();

// One 100 ms tick, then the zoom timer routine.
void JoystickLiveTick(HWND wnd);
