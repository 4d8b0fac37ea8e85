#pragma once
// The program with its Multi Axis Goto window open and X, Y, Z, Q at rest on
// the user zero, so that nothing goes anywhere unless a test asks; the
// window's one-second timer runs when the test lets time pass.
#include "core/goto_sequence.h"
#include "motion/goto_controls.h"
#include "motion/multi_axis_goto.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"

#include <string>
#include <vector>

class GotoBench : public ProgramTest {
protected:
    void SetUp() override
    {
        Start();
        Open();
        for (const GotoAxisControls& row : kGotoAxisControls) {
            Type(row.target, L"0");
            Type(row.velPercent, L"100");
        }
        Forget();
    }
    void Open()
    {
        Press(IDC_MULTI_AXIS_GOTO);
        wnd = g_multiGotoWnd;
        ASSERT_NE(wnd, nullptr);
    }
    void Type(int id, const std::wstring& text) { TypeText(wnd, id, text); }
    void Target(int axis, const std::wstring& mm) { Type(kGotoAxisControls[axis].target, mm); }
    void Click(int id) { PressButton(wnd, id); }
    void ChooseRandomLegs()
    {
        constexpr int kLegKinds[] = {IDC_MAG_FIXED, IDC_MAG_RANDOM};
        ChooseRadio(wnd, IDC_MAG_RANDOM, kLegKinds);
    }
    void Tick(int seconds = 1) { h.Clock().Advance(1000u * static_cast<uint32_t>(seconds)); }
    using ProgramTest::Text;
    std::string Text(int id) { return Text(wnd, id); }
    std::vector<std::string> Legs() { return Calls("AXB_SetAxisPosLin("); }
    // Ticks until the run has sent n legs, at most a minute.
    void TickUntilLegs(size_t n)
    {
        for (int s = 0; s < 60 && Legs().size() < n; ++s)
            Tick();
        ASSERT_GE(Legs().size(), n);
    }

    HWND wnd = nullptr;
};
