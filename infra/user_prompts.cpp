#include "infra/user_prompts.h"

#include <cwchar>

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

std::wstring AskFileName(const FileNameRequest& request)
{
    constexpr DWORD kFileNameChars = 260;
    wchar_t file[kFileNameChars] = {};
    std::wcsncpy(file, request.initialName.c_str(), kFileNameChars - 1);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = request.owner;
    ofn.lpstrFilter = request.filter;
    ofn.lpstrFile = file;
    ofn.nMaxFile = kFileNameChars;
    ofn.lpstrInitialDir = request.folder.empty() ? nullptr : request.folder.c_str();
    ofn.lpstrTitle = request.title;
    ofn.lpstrDefExt = request.defaultExtension;
    ofn.Flags = OFN_EXPLORER | request.flags;
    if (!(request.save ? AskSaveFileName(ofn) : AskOpenFileName(ofn)))
        return {};
    file[kFileNameChars - 1] = L'\0';
    return file;
}
