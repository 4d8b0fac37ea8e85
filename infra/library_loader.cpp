#include "infra/library_loader.h"

#include "infra/program_folder.h"

namespace {
std::wstring g_libraryFolder;
} // namespace

HMODULE LoadProgramLibrary(const wchar_t* name)
{
    std::wstring path = g_libraryFolder.empty() ? ProgramFolder() : g_libraryFolder;
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    // Only this folder: a library of the same name elsewhere on the search
    // path is not the one the machine was set up with.
    return LoadLibraryExW((path + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void SetLibraryFolder(const std::wstring& folder) { g_libraryFolder = folder; }
