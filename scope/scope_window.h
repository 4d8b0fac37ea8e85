#pragma once
// The modeless "Scope" window: up to four channels plotted live or captured
// on a trigger, saved and loaded as CSV, a loaded capture overlaid as a
// reference, the view saved as a picture. The sampling itself is
// scope/scope_acquisition's, on the main window's tick; the window shows
// it, repainting at most kScopeRepaintsPerSecond times a second.
#include <windows.h>

#include <cstdint>

inline constexpr unsigned kScopeRepaintsPerSecond = 20;

// The open window; null while it is closed.
extern HWND g_scopeWnd;

INT_PTR CALLBACK ScopeDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

// The main window's "Scope": opens the window or brings it to the top.
HWND OpenScopeWindow();

// The goto windows' "Scope": opens the window on the positions and following
// errors of X and Y, captures every move of the run (Normal, on X's move
// start) and starts at once.
void SendGotoRunToScope();

// Opens the window on a given capture, with a reference dimmed behind it or
// none; the acquisition stops, as when a file is loaded.
struct ScopeCapture;
void ShowCaptureInScope(const ScopeCapture& capture, const ScopeCapture* reference);

// How often the plot was asked to repaint since the program started.
uint64_t ScopeRepaints();

void ResetScopeWindow();
