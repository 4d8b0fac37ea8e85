#pragma once
// Everything a test of the program needs around it: a fresh simulated board
// on a virtual clock, a private settings and program folder, a log viewer in
// the process, scripted answers to message boxes, and the program's own
// state reset to what a new process starts with.
#include "tests/support/log_capture.h"
#include "tests/support/virtual_clock.h"

#include <windows.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct PromptSeen {
    std::wstring text;
    std::wstring caption;
    UINT type;
};

class ProgramHarness {
public:
    // The virtual clock (tick count of the program and time of the board)
    // starts at clockStartMs.
    explicit ProgramHarness(uint64_t clockStartMs = kDefaultClockStartMs);
    static constexpr uint64_t kDefaultClockStartMs = 1'000'000;
    ~ProgramHarness();
    ProgramHarness(const ProgramHarness&) = delete;
    ProgramHarness& operator=(const ProgramHarness&) = delete;

    // Creates the main window as the entry point does (initialisation, board
    // connection included, runs now).
    HWND StartProgram();
    HWND Main() const { return main_; }
    // As a technician would: the program ends (its window is destroyed), the
    // board is switched off and on, and the program starts again. The set-up
    // runs before the new start, with the log already cleared.
    HWND RestartProgram(const std::function<void()>& setUp = {});

    // The next message box is answered with this button (IDOK, IDCANCEL...).
    // A box with no answer queued fails the test and is answered IDCANCEL.
    void AnswerNextMessageBox(int answer) { answers_.push_back(answer); }
    const std::vector<PromptSeen>& MessageBoxesSeen() const { return prompts_; }

    // A file in the test's private folder.
    std::filesystem::path File(const std::wstring& name) const { return folder_ / name; }
    const std::filesystem::path& Folder() const { return folder_; }

    VirtualClock& Clock() { return *clock_; }
    LogCapture& Log() { return *log_; }

private:
    std::filesystem::path folder_;
    std::unique_ptr<VirtualClock> clock_;
    std::unique_ptr<LogCapture> log_;
    std::deque<int> answers_;
    std::vector<PromptSeen> prompts_;
    HWND main_ = nullptr;
};

