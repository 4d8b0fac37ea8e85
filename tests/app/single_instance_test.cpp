// Only one program of the product family runs at a time.

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using ::testing::IsEmpty;

namespace {

std::wstring ProgramBeside()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return (std::filesystem::path(path).parent_path() / L"stagetune.exe").wstring();
}

// The text of the message box's static control.
std::wstring BoxText(HWND box)
{
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 256);
    return text;
}

// The message box of the given process: titled "stagetune" with a text. The
// main window carries the same template title until its initialisation has
// set its own, so the title alone is not enough.
HWND FindMessageBox(DWORD processId)
{
    struct Search {
        DWORD processId;
        HWND found;
    } search{processId, nullptr};
    EnumWindows(
        [](HWND wnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(wnd, &owner);
            wchar_t title[64] = {};
            GetWindowTextW(wnd, title, 64);
            if (owner == s->processId && std::wstring(title) == L"stagetune" && !BoxText(wnd).empty()) {
                s->found = wnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Ends the program if the test could not.
struct ProcessGuard {
    PROCESS_INFORMATION pi{};
    ~ProcessGuard()
    {
        if (pi.hProcess && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(pi.hProcess, 1);
        if (pi.hThread)
            CloseHandle(pi.hThread);
        if (pi.hProcess)
            CloseHandle(pi.hProcess);
    }
};

} // namespace

// The driver calls the simulated board recorded in its trace file.
std::vector<std::string> TracedCalls(const std::filesystem::path& trace)
{
    std::vector<std::string> calls;
    std::ifstream in(trace);
    for (std::string line; std::getline(in, line);)
        if (line.find("AXB_") != std::string::npos)
            calls.push_back(line);
    return calls;
}

TEST(SingleInstance, SecondProgramLeavesTheBoardAloneShowsTheMessageAndEndsWithMinusOne)
{
    // This test process plays the running instance.
    HANDLE running = CreateMutexW(nullptr, FALSE, L"FjordRunning");
    ASSERT_NE(running, nullptr);

    auto folder = std::filesystem::temp_directory_path() / (L"stagetune-second-" + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    SetEnvironmentVariableW(L"AXBSIM_STATE", (folder / L"board.state").c_str());
    // A board with a valid record, so that nothing but the instance check
    // could hold up a program that opened the driver.
    std::ofstream(folder / L"board.ini") << "[Flash]\nW015=0x5A\n";
    SetEnvironmentVariableW(L"AXBSIM_CONFIG", (folder / L"board.ini").c_str());
    const std::filesystem::path trace = folder / L"trace.txt";
    SetEnvironmentVariableW(L"AXBSIM_TRACE", trace.c_str());
    SetEnvironmentVariableW(L"KRV_SETTINGS", folder.c_str());

    std::wstring command = L"\"" + ProgramBeside() + L"\"";
    STARTUPINFOW si{sizeof si};
    ProcessGuard program;
    PROCESS_INFORMATION& pi = program.pi;
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));

    HWND box = nullptr;
    for (int i = 0; i < 300 && !box; ++i) {
        box = FindMessageBox(pi.dwProcessId);
        if (!box)
            Sleep(50);
    }
    ASSERT_NE(box, nullptr) << "no message box from the second program";
    EXPECT_EQ(BoxText(box), L"Another TavRosen application is already running.  Please run only one instance at a time.");
    EXPECT_EQ(FindWindowW(L"#32770", L"stagetune:4.0.0 2021 August 12"), nullptr) << "no main window";

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(static_cast<int>(code), -1);
    EXPECT_THAT(TracedCalls(trace), IsEmpty()) << "no driver call at all";

    CloseHandle(running);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}
