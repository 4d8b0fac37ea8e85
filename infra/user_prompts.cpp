#include "infra/user_prompts.h"

namespace {
MessageBoxAnswer g_messageBoxAnswer;
FileDialogAnswer g_fileDialogAnswer;
} // namespace

void InstallMessageBoxAnswer(MessageBoxAnswer answer) { g_messageBoxAnswer = std::move(answer); }
void InstallFileDialogAnswer(FileDialogAnswer answer) { g_fileDialogAnswer = std::move(answer); }

int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    if (g_messageBoxAnswer)
        return g_messageBoxAnswer(owner, text ? text : L"", caption ? caption : L"", type);
    return MessageBoxW(owner, text, caption, type);
}

bool AskOpenFileName(OPENFILENAMEW& ofn)
{
    if (g_fileDialogAnswer)
        return g_fileDialogAnswer(ofn, false);
    return GetOpenFileNameW(&ofn) != FALSE;
}

bool AskSaveFileName(OPENFILENAMEW& ofn)
{
    if (g_fileDialogAnswer)
        return g_fileDialogAnswer(ofn, true);
    return GetSaveFileNameW(&ofn) != FALSE;
}
