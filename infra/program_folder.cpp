#include "infra/program_folder.h"

#include <windows.h>

namespace {
std::wstring g_programFolderOverride;

std::wstring ExecutableFolder()
{
    wchar_t path[MAX_PATH * 2] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    if (n == 0 || n >= std::size(path))
        return L".\\";
    std::wstring folder(path, n);
    size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L".\\" : folder.substr(0, slash + 1);
}
} // namespace

std::wstring ProgramFolder()
{
    return g_programFolderOverride.empty() ? ExecutableFolder() : g_programFolderOverride;
}

void SetProgramFolder(const std::wstring& folder)
{
    g_programFolderOverride = folder;
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/')
        g_programFolderOverride += L'\\';
}
