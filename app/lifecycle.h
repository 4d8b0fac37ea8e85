#pragma once
// The main window's life: initialisation (also after "Reset"), and the three
// ways it ends.
#include <windows.h>

#include "core/version_text.h"

inline constexpr char kProgramDate[] = "2021 August 12";
inline constexpr char kBuildDate[] = "Aug 12 2021";
inline constexpr char kBuildTime[] = "10:28:10";

void InitMainWindow(HWND wnd);
// The title says so while the board does not answer.
void ShowBoardAnswering(HWND wnd, bool answering);
void OnResetButton(HWND wnd);
void OnExitCommand(HWND wnd);
void OnMainClose(HWND wnd);
void OnMainDestroy(HWND wnd);
