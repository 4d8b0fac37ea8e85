#pragma once
// What the board's flash holds, as far as the program can know: the
// parameters and record as they stood right after connecting and as each
// "Save To Flash" wrote them. The board loads its parameters from flash at
// power-up, so this is what a power cycle brings back, unless something
// other than this program changed the flash in between.
#include <vector>

#include "core/param_diff.h"
#include "core/version_text.h"

// g_param and the record as they stand now become the baseline.
void TakeFlashBaseline();
// The same right after connecting, with the board's versions, which the
// history of flash saves names its files and headers by.
void TakeConnectBaseline(const BoardVersions& versions);
const BoardVersions& BaselineBoardVersions();
const BoardConfig& FlashBaseline();
// False until a board was connected: nothing can be unsaved then.
bool HasFlashBaseline();

// The board as the program knows it: the parameters as last read or written
// (read back), and the record with its unsaved edits packed.
BoardConfig CurrentBoardConfig();
// Marks the rows whose left side is the board and whose parameter the board
// kept at another value.
void MarkBoardKept(std::vector<DiffRow>& rows);

// The board (left) against the baseline (right), every row but the fence
// parameters the program derives from the record, kept ones marked.
std::vector<DiffRow> BoardAgainstFlashRows();
// The differing rows of BoardAgainstFlashRows, by kind.
UnsavedCount UnsavedChanges();

void ResetFlashBaseline();
