#pragma once
// Message boxes and the common file dialogs go through one wrapper each, so a
// test can answer them as a technician would instead of blocking on a modal
// window nobody sees.
#include <windows.h>
#include <commdlg.h>
#include <functional>
#include <string_view>

int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
bool AskOpenFileName(OPENFILENAMEW& ofn);
bool AskSaveFileName(OPENFILENAMEW& ofn);

// Test hooks; an empty function restores the real dialogs.
using MessageBoxAnswer = std::function<int(HWND owner, std::wstring_view text, std::wstring_view caption, UINT type)>;
// Fills ofn.lpstrFile and returns true for "OK", false for "Cancel".
using FileDialogAnswer = std::function<bool(OPENFILENAMEW& ofn, bool save)>;
void InstallMessageBoxAnswer(MessageBoxAnswer answer);
void InstallFileDialogAnswer(FileDialogAnswer answer);
