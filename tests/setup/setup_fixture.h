#pragma once
// The program on the simulated board with a setup dialog opened from its
// main-window button, driven inside the dialog's own message loop.
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/modal_dialog.h"
#include "tests/support/program_harness.h"
#include "tests/support/sim_calls.h"
#include "tests/support/ui_driver.h"

#include <gmock/gmock.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

inline constexpr int kSetupAxisRadios[] = {IDC_AXIS_X, IDC_AXIS_Y, IDC_AXIS_Z, IDC_AXIS_Q,
                                           IDC_AXIS_ZOOM};

class SetupDialogTest : public ::testing::Test {
protected:
    // The program started (again, on a board switched off and on, when it
    // runs already) after the board was set up; what its start-up did is
    // forgotten.
    HWND Start(const std::function<void()>& board = {})
    {
        if (main) {
            main = h.RestartProgram(board);
        } else {
            if (board)
                board();
            main = h.StartProgram();
        }
        Forget();
        return main;
    }
    void Forget()
    {
        AxbSim_ClearCallLog();
        h.Log().Clear();
    }
    // Presses the main window's button; the script runs in the dialog.
    void Open(int button, ModalScript script)
    {
        OnNextModalDialog(std::move(script));
        PressButton(main, button);
        EXPECT_FALSE(ModalScriptPending()) << "button " << button << " opened no dialog";
    }
    // The main window's unit radios as a click.
    void SelectUnit(int radio)
    {
        for (int id : {IDC_UNIT_MM, IDC_UNIT_IN, IDC_UNIT_STORED})
            CheckDlgButton(main, id, id == radio ? BST_CHECKED : BST_UNCHECKED);
        PressButton(main, radio);
    }
    std::vector<std::string> ParamWrites() { return SimCallsStartingWith("AXB_SetParam("); }
    std::vector<std::string> LogLinesStartingWith(const std::string& prefix)
    {
        std::vector<std::string> found;
        for (const std::string& line : h.Log().Lines())
            if (line.rfind(prefix, 0) == 0)
                found.push_back(line);
        return found;
    }
    static std::string Text(HWND dialog, int id) { return Narrow(ControlText(dialog, id)); }
    static void SetCheck(HWND dialog, int id, bool on) { CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }
    // A radio as a click: checked alone among its group, then its command.
    static void ChooseRadio(HWND dialog, int id, std::span<const int> group)
    {
        for (int other : group)
            SetCheck(dialog, other, other == id);
        PressButton(dialog, id);
    }
    static void ChooseListItem(HWND dialog, int id, int position)
    {
        SendDlgItemMessageW(dialog, id, CB_SETCURSEL, position, 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    static std::vector<std::string> ListItems(HWND dialog, int id)
    {
        std::vector<std::string> items;
        const auto count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            wchar_t text[128] = {};
            SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            items.push_back(Narrow(text));
        }
        return items;
    }
    static int Selected(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0)); }

    ProgramHarness h;
    HWND main = nullptr;
};

