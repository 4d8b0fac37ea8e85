// Only one program of the product family runs at a time: a second one
// leaves the board alone, says so and ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::wstring BoxText(HWND box)
{
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 256);
    return text;
}

// Ends the program if the test could not.
struct ProcessGuard {
    PROCESS_INFORMATION pi{};
    ~ProcessGuard() { TerminateProcess(pi.hProcess, 1); CloseHandle(pi.hThread); CloseHandle(pi.hProcess); }
};

TEST(SingleInstance, SecondProgramLeavesTheBoardAloneShowsTheMessageAndEndsWithMinusOne)
{
    // This test process plays the running instance.
    HANDLE running = CreateMutexW(nullptr, FALSE, L"FjordRunning");
    ASSERT_NE(running, nullptr);
    const auto folder =
        std::filesystem::temp_directory_path() / (L"stagetune-second-" + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    // A board with a valid record, so that nothing but the instance check
    // could hold up a program that opened the driver.
    std::ofstream(folder / L"board.ini") << "[Flash]\nW015=0x5A\n";
    const std::filesystem::path trace = folder / L"trace.txt";
    for (auto [name, file] : {std::pair{L"AXBSIM_STATE", folder / L"board.state"},
                              {L"AXBSIM_CONFIG", folder / L"board.ini"}, {L"AXBSIM_TRACE", trace},
                              {L"KRV_SETTINGS", folder}})
        SetEnvironmentVariableW(name, file.c_str());
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + (std::filesystem::path(self).parent_path() / L"stagetune.exe").wstring() + L"\"";
    STARTUPINFOW si{sizeof si};
    ProcessGuard program;
    ASSERT_TRUE(
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &program.pi));
    // The box is titled "stagetune" and has a text; a main window carries the
    // same title until its initialisation has set its own, but no text.
    HWND box = nullptr;
    for (int i = 0; i < 300 && !((box = FindWindowW(L"#32770", L"stagetune")) && !BoxText(box).empty()); ++i)
        Sleep(50);
    ASSERT_NE(box, nullptr) << "no message box from the second program";
    EXPECT_EQ(BoxText(box),
              L"Another TavRosen application is already running.  Please run only one instance at a time.");
    EXPECT_EQ(FindWindowW(L"#32770", L"stagetune:4.0.0 2021 August 12"), nullptr) << "no main window";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(WaitForSingleObject(program.pi.hProcess, 20000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(program.pi.hProcess, &code);
    EXPECT_EQ(static_cast<int>(code), -1);
    std::ifstream in(trace);
    for (std::string line; std::getline(in, line);)
        EXPECT_EQ(line.find("AXB_"), std::string::npos) << "no driver call at all: " << line;
    CloseHandle(running);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

} // namespace
