#include "ui/main_window_handle.h"

HWND g_mainWnd;

void ResetMainWindowHandle() { g_mainWnd = nullptr; }
