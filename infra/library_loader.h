#pragma once
// The turret vendors' libraries are loaded at run time, by name, from the
// program's folder. Every such load goes through here, so a test can point
// the program at a folder of its own (with stand-ins, or without them).
#include <windows.h>

#include <string>

// The library `name` from the library folder; null when it cannot be loaded.
HMODULE LoadProgramLibrary(const wchar_t* name);
// The export `name` of the library, as the caller's function type; null when
// the library has none.
template <typename Function>
Function FindLibraryExport(HMODULE library, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}
// Where LoadProgramLibrary looks; an empty text: the program's folder.
void SetLibraryFolder(const std::wstring& folder);
