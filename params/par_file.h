#pragma once
// The board's versions, parameters and flash record as a ".par" text file,
// and back onto the board.
#include <optional>
#include <string>

#include "core/param_diff.h"

// Asks for a file and writes it. The file is replaced only once the new
// content is completely written, so a failed save keeps the previous file.
void SaveParFileChosenByUser();

// Asks for a file and sends every parameter and flash item in it to the
// board at once (the flash words are not committed). True when a file was
// read onto the board.
bool LoadParFileChosenByUser();

// The file's text as "Save To File" writes it: the board's versions, the
// program's parameters (fences open) and record items. Call with
// "ZEZ_LOCK" held.
std::string FormatBoardParFile();
// Asks for an existing ".par" file; empty when cancelled.
std::wstring AskParFileToRead();
// What a file would load: parameters it does not name read 0, items their
// defaults. None when the file cannot be opened.
std::optional<BoardConfig> ReadParConfig(const std::wstring& path);
