#pragma once
// The program's per-machine record in the board's flash user area: read and
// checked when the board is connected, written by "Save To Flash".

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

// The record and the board's parameters made permanent, with the fences
// open while the parameters are saved; they become the flash baseline. True
// when the board was written.
bool SaveToFlash();

void ResetFlashStore();
