#pragma once
// The folder the program runs from (zoom.ini, the default folder of the
// parameter-file dialogs). Taken from the running executable's own path, so
// it is right whether the program was started with a quoted path or not.
#include <string>

// The folder with a trailing backslash.
std::wstring ProgramFolder();
// Tests point the program at a temporary folder; an empty text restores the
// executable's folder.
void SetProgramFolder(const std::wstring& folder);
