#pragma once
// The parameter table against the board: reading all of it, and writing a
// parameter only where the board holds something else.
#include <cstdint>

// P000..P511 from the board into g_param.
void ReadAllParamsFromBoard();
// Writes Pn when the board holds another value; true when it wrote.
bool SetParamIfDifferent(int number, uint32_t value);
// Writes Pn and reads it back: a board that keeps another value is logged
// ("Board kept P%03d at %d, not %d") and remembered until a write or a read
// of every parameter finds it agreeing again.
void WriteParamReadBack(int number, uint32_t value);
// Whether the board kept another value than the one written last.
bool BoardKeptOtherValue(int number);
// Pn as the board was last seen to hold it: read, or read back after a
// write. A value the program holds but never wrote is not the board's.
uint32_t KnownBoardParam(int number);
// Every parameter of g_param that the board holds differently, each write
// with its "Setting param" line.
void WriteDifferingParams();
// The setup dialogs' store: the program's copy takes the value, and the board
// is written, with its "Setting param" line, only when it holds another.
void StoreParam(int number, uint32_t value);
// The same without the log line, for the copy of whole parameter blocks.
void StoreParamUnlogged(int number, uint32_t value);

void ResetParamIo();
