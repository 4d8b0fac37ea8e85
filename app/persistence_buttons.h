#pragma once
// The main window's buttons that keep settings: "Save To Flash" (1034), "Del
// New Flash" (1036), "Save To File" (1029) and "Load From File" (1171).
#include <windows.h>

void OnSaveToFlashButton(HWND mainWnd);
void OnDelNewFlashButton(HWND mainWnd);
void OnSaveToFileButton(HWND mainWnd);
void OnLoadFromFileButton(HWND mainWnd);
