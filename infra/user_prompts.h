#pragma once
// Message boxes and the common file dialogs go through one wrapper each, so a
// test can answer them as a technician would instead of blocking on a modal
// window nobody sees.
#include <windows.h>
#include <commdlg.h>
#include <functional>
#include <string>
#include <string_view>

int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
bool AskOpenFileName(OPENFILENAMEW& ofn);
bool AskSaveFileName(OPENFILENAMEW& ofn);

// A common file dialog of 260 characters for the name, explorer style.
struct FileNameRequest {
    HWND owner;
    const wchar_t* title;
    const wchar_t* filter;        // pairs of NUL-terminated texts
    const std::wstring& initialName;
    const std::wstring& folder;   // empty: the system's choice
    const wchar_t* defaultExtension;
    DWORD flags;                  // beside OFN_EXPLORER
    bool save;
};
// The path chosen, or empty when the dialog was cancelled.
std::wstring AskFileName(const FileNameRequest& request);

// Test hooks; an empty function restores the real dialogs.
using MessageBoxAnswer = std::function<int(HWND owner, std::wstring_view text, std::wstring_view caption, UINT type)>;
// Fills ofn.lpstrFile and returns true for "OK", false for "Cancel".
using FileDialogAnswer = std::function<bool(OPENFILENAMEW& ofn, bool save)>;
void InstallMessageBoxAnswer(MessageBoxAnswer answer);
void InstallFileDialogAnswer(FileDialogAnswer answer);
