#pragma once
// The program's per-machine record in the board's flash user area: read and
// checked when the board is connected, written by "Save To Flash".
#include <windows.h>

struct FlashWords;

// Reads and validates the record; a wrong marker asks the technician whether
// to restore the defaults ("Flash error"). Never runs inside itself.
void CheckFlash();
// Every item to flash, then commit.
void WriteUserBoxData();

// The board's flash user words (board 0). A read the driver does not answer
// gives 0; written words stay uncommitted until AXB_CommitFlashWords.
FlashWords& BoardFlashWords();
// UnpackUserBoxData with its line going to the log.
void UnpackUserBoxDataToLog();

// "Save To Flash" (1034) and "Del New Flash" (1036) of the main window.
void OnSaveToFlashButton(HWND mainWnd);
void OnDelNewFlashButton(HWND mainWnd);

void ResetFlashStore();
