#pragma once
// Every flash save of a board as a ".par" file on the service PC:
// "Boards\<serial>\<yyyy-mm-dd hhmmss>.par" beside the settings file, at most
// kBoardHistoryFiles per board.
#include <string>
#include <vector>

inline constexpr size_t kBoardHistoryFiles = 200;

// The flash baseline as the board's newest history file; the oldest files
// beyond the limit go. A failure is logged and changes nothing else.
void WriteBoardHistory();

struct BoardHistoryEntry {
    std::wstring path;
    std::wstring date;   // "yyyy-mm-dd hhmmss", from the file name
};
// The files of the connected board, newest first.
std::vector<BoardHistoryEntry> BoardHistory();
