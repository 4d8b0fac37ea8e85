#pragma once
// The program on the simulated board with the Multi Axis Goto window open,
// driven as a technician drives it: fields typed, buttons pressed, the
// window's one-second timer let run.
#include "core/goto_sequence.h"
#include "infra/settings.h"
#include "motion/goto_controls.h"
#include "motion/multi_axis_goto.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_harness.h"
#include "tests/support/sim_calls.h"
#include "tests/support/ui_driver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

class GotoBench : public ::testing::Test {
protected:
    void SetUp() override
    {
        main = h.StartProgram();
        // The first main-timer tick finds the board for the zoom's step and
        // reads the flash record again: let it pass before the test's own lines.
        h.Clock().Advance(10);
        Open();
        // X, Y, Z, Q at rest on the user zero, to go nowhere unless asked.
        for (const GotoAxisControls& row : kGotoAxisControls) {
            Type(row.target, L"0");
            Type(row.velPercent, L"100");
        }
        AxbSim_ClearCallLog();
        h.Log().Clear();
    }
    void Open()
    {
        PressButton(main, IDC_MULTI_AXIS_GOTO);
        wnd = g_multiGotoWnd;
        ASSERT_NE(wnd, nullptr);
    }
    // A key of the settings file, as the technician would set it.
    void WriteSetting(const wchar_t* key, const wchar_t* value)
    {
        std::filesystem::create_directories(h.Folder() / L"settings" / L"TavRosen" / L"Settings");
        WriteSettingString(L"stagetune", key, value);
    }
    void Type(int id, const std::wstring& text) { TypeText(wnd, id, text); }
    void Target(int axis, const std::wstring& mm) { Type(kGotoAxisControls[axis].target, mm); }
    void Press(int id) { PressButton(wnd, id); }
    // Radio buttons check themselves only on a real click.
    void Click(int id)
    {
        SendDlgItemMessageW(wnd, id, BM_CLICK, 0, 0);
        PumpMessages();
    }
    void Tick(int seconds = 1) { h.Clock().Advance(1000u * static_cast<uint32_t>(seconds)); }
    std::string Text(int id) { return Narrow(ControlText(wnd, id)); }
    std::vector<std::string> Legs() { return SimCallsStartingWith("AXB_SetAxisPosLin("); }
    // The log lines that start with the prefix.
    std::vector<std::string> LogLines(const std::string& prefix)
    {
        std::vector<std::string> found;
        for (const std::string& line : h.Log().Lines())
            if (line.rfind(prefix, 0) == 0)
                found.push_back(line);
        return found;
    }
    // Ticks until the run has started n legs after the first, at most a minute.
    void TickUntilLegs(size_t n)
    {
        for (int s = 0; s < 60 && Legs().size() < n; ++s)
            Tick();
        ASSERT_GE(Legs().size(), n);
    }

    ProgramHarness h;
    HWND main = nullptr;
    HWND wnd = nullptr;
};
