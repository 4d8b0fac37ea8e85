#pragma once
// The program's per-machine record in the board's flash user area: read and
// checked when the board is connected, written by "Save To Flash".
#include <windows.h>

// Reads and validates the record; a wrong marker asks the technician whether
// to restore the defaults ("Flash error"). Never runs inside itself.
void CheckFlash();
// Every item to flash, then commit.
void WriteUserBoxData();

void OnSaveToFlashButton(HWND mainWnd);
void OnDelNewFlashButton(HWND mainWnd);

void ResetFlashStore();
