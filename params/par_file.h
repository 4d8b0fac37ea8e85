#pragma once
// "Save To File" (1029) and "Load From File" (1171) of the main window: the
// board's versions, parameters and flash record as a ".par" text file, and
// back onto the board.
#include <windows.h>

// Asks for a file and writes it. The file is replaced only once the new
// content is completely written, so a failed save keeps the previous file.
void OnSaveToFileButton(HWND mainWnd);
// Asks for a file and sends every parameter and flash item in it to the
// board at once (the flash words are not committed), then shows the fields
// again.
void OnLoadFromFileButton(HWND mainWnd);
