#pragma once
// The one fixture of the program's tests: a ProgramHarness, the main window
// and the moves a technician makes in it and in its dialogs.
//
//     class Encoder : public ProgramTest {};
//     TEST_F(Encoder, ...) {
//         Start([] { AxbSim_SetParam(58, 1000); });
//         OpenModal(IDC_ENCODER, [&](HWND dlg) { ...; PressButton(dlg, IDC_ENC_EXIT); });
//         EXPECT_THAT(Calls("AXB_SetParam("), ElementsAre(...));
//     }
#include "res/resource.h"
#include "tests/support/modal_dialog.h"
#include "tests/support/program_harness.h"
#include "tests/support/sim_calls.h"
#include "tests/support/ui_driver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

class ProgramTest : public ::testing::Test {
protected:
    explicit ProgramTest(uint64_t clockStartMs = ProgramHarness::kDefaultClockStartMs) : h(clockStartMs) {}
    void TearDown() override;

    // Starts the program (again, on a board switched off and on, when it runs
    // already) after beforeStart set up the board; lets the first main-timer
    // tick pass, which finds the board as the moment before a technician's
    // first click does; then forgets the calls and lines of start-up.
    HWND Start(const std::function<void()>& beforeStart = {}, bool firstTick = true);
    // Forgets the driver calls and log lines so far.
    void Forget();

    void Press(int id) { PressButton(main, id); }
    // A radio of the main window as a click: checked alone, then its command.
    void ChooseUnit(int radio);
    void ChooseAxis(int radio);
    // Presses the main window's button; the script runs in the modal dialog
    // it opens, inside the dialog's own message loop.
    void OpenModal(int button, ModalScript script);
    // A key of the settings file, as the technician would set it.
    void WriteSetting(const wchar_t* section, const wchar_t* key, const wchar_t* value);

    std::vector<std::string> Calls(const std::string& prefix) { return SimCallsStartingWith(prefix); }
    // The log lines that start with one of the prefixes, in order.
    std::vector<std::string> LinesStartingWith(std::initializer_list<std::string> prefixes);
    bool Logged(const std::string& line) { return h.Log().HasLine(line); }
    // Main-timer ticks of 10 ms until done() holds, at most `ms`; whether it does.
    bool RunUntil(const std::function<bool()>& done, int ms = 20000)
    {
        for (int t = 0; t < ms && !done(); t += 10)
            h.Clock().Advance(10);
        return done();
    }

    static std::string Text(HWND dialog, int id) { return Narrow(ControlText(dialog, id)); }
    // A radio among its group as a click.
    static void ChooseRadio(HWND dialog, int id, std::span<const int> group);
    // A list item as the technician selects it (CBN_SELCHANGE follows).
    static void ChooseListItem(HWND dialog, int id, int position);
    static std::vector<std::string> ListItems(HWND dialog, int id);
    static int Selected(HWND dialog, int id);

    ProgramHarness h;
    HWND main = nullptr;
};
