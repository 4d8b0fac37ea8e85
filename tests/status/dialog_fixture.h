#pragma once
// The Status and Power dialogs beside a started program, and a way to see
// exactly which of a dialog's controls a refresh writes to.
#include "tests/support/program_harness.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

class StatusDialogTest : public ::testing::Test {
protected:
    StatusDialogTest();
    ~StatusDialogTest() override;

    // Starts the program on the simulated board and forgets the start-up's
    // driver calls.
    void Start();
    // One period of the dialogs' timers.
    void Tick() { h.Clock().Advance(100); }
    static std::string Text(HWND dialog, int id);
    // Top-level windows of this thread with exactly this caption.
    static int WindowsCaptioned(const wchar_t* caption);

    ProgramHarness h;
};

// Subclasses every control of a dialog and records the ids that receive a
// text (WM_SETTEXT) or a check state (BM_SETCHECK).
class ControlWrites {
public:
    explicit ControlWrites(HWND dialog);
    ~ControlWrites();
    ControlWrites(const ControlWrites&) = delete;
    ControlWrites& operator=(const ControlWrites&) = delete;

    const std::vector<int>& Texts() const { return texts_; }
    const std::vector<int>& Checks() const { return checks_; }
    void Clear();

private:
    static LRESULT CALLBACK Proc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

    static ControlWrites* active_;
    std::map<HWND, WNDPROC> original_;
    std::vector<int> texts_;
    std::vector<int> checks_;
};
