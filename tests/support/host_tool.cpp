#include "tests/support/host_tool.h"

#include <windows.h>

#include <fstream>
#include <sstream>

std::string UnixPath(const std::filesystem::path& path)
{
    using Convert = char*(CDECL*)(LPCWSTR);
    static const auto convert =
        reinterpret_cast<Convert>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert)
        return {};
    char* unixPath = convert(path.c_str());
    std::string result = unixPath ? unixPath : "";
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

int RunHostScript(const std::filesystem::path& folder, const std::string& script, unsigned timeoutMs)
{
    const auto scriptFile = folder / L"host-script.sh";
    const auto exitFile = folder / L"host-script.exit";
    std::filesystem::remove(exitFile);
    // The exit code appears whole: written aside, then renamed.
    std::ofstream(scriptFile, std::ios::binary)
        << "cd '" << UnixPath(folder) << "' || exit 1\n(\n" << script << "\n) >host-script.out 2>&1\n"
        << "echo $? >host-script.tmp && mv host-script.tmp host-script.exit\n";
    const std::string unixScript = UnixPath(scriptFile);
    std::wstring command = L"Z:\\bin\\sh \"" + std::wstring(unixScript.begin(), unixScript.end()) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    for (HANDLE h : {process.hProcess, process.hThread})
        if (h)
            CloseHandle(h);
    for (unsigned waited = 0; waited < timeoutMs; waited += 10) {
        int code = -1;
        if (std::ifstream(exitFile) >> code)
            return code;
        Sleep(10);
    }
    return -1;
}
