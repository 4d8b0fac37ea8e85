#pragma once
#include <windows.h>

// The main window while it exists; 0 before creation and after Exit, close
// or destroy. Dialogs and prompts use it as their owner.
extern HWND g_mainWnd;

void ResetMainWindowHandle();
