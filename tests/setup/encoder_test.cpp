// "Encoder": the settings written to the board, the lists by code, TTL
// signals, the zoom's own bits, and that an unchanged field writes nothing.
#include "core/param_table.h"
#include "core/session_state.h"
#include "driver/axb400.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/setup/modal_dialog_fixture.h"
#include "tests/support/sim_calls.h"
#include "tests/support/ui_driver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

using ::testing::Contains;

namespace {

class Encoder : public ModalDialogTest<IDC_ENCODER, IDC_ENC_EXIT, 200> {
protected:
    void Select(HWND dialog, int id, int item)
    {
        SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    }
};

TEST_F(Encoder, OpeningAndClosingWithoutEditsWritesNothing)
{
    for (uint32_t countsPerMm : {3000u, 2500000u}) {
        SCOPED_TRACE(countsPerMm);
        g_param[58] = countsPerMm;
        g_param[70] = 1000000000;
        g_param[71] = 7;
        g_param[16] = 0x0C07;   // codes with no list entry
        RecomputeScales();
        AxbSim_ClearCallLog();
        WithDialog([&](HWND dialog) {
            PressButton(dialog, IDC_AXIS_Y);
            PressButton(dialog, IDC_AXIS_X);
        });
        EXPECT_TRUE(SimCallsStartingWith("AXB_SetParam(").empty());
        EXPECT_TRUE(SimCallsStartingWith("AXB_SetAxisReg(").empty());
        EXPECT_EQ(g_param[58], countsPerMm);
        EXPECT_EQ(g_param[70], 1000000000u);
        EXPECT_EQ(g_param[71], 7u);
        EXPECT_EQ(g_param[16], 0x0C07u);
    }
}

struct LengthCase {
    const char* name;
    const wchar_t* resolution;
    const wchar_t* increment;   // nullptr: left as shown
    uint32_t counts, incrementCounts;
};

const LengthCase kLengths[] = {
    {"1 um", L"0.001", L"20", 1000, 20000},
    {"0.4 um keeps the increment's length", L"0.0004", nullptr, 2500, 50000},
    {"reciprocal n + 0.5 rounds up", L"0.4", nullptr, 3, 50},
    {"no resolution clears", L"0", nullptr, 0, 0},
};

TEST_F(Encoder, LengthsBecomeCountsAndTheScalesFollow)
{
    for (const LengthCase& c : kLengths) {
        SCOPED_TRACE(c.name);
        g_param[58] = 1000;
        g_param[70] = 20000;
        RecomputeScales();
        AxbSim_ClearCallLog();
        WithDialog([&](HWND dialog) {
            TypeText(dialog, IDC_ENC_RESOLUTION, c.resolution);
            if (c.increment)
                TypeText(dialog, IDC_ENC_INCREMENT, c.increment);
        });
        EXPECT_EQ(g_param[58], c.counts);
        EXPECT_EQ(g_param[70], c.incrementCounts);
        EXPECT_EQ(AxbSim_PeekParam(58), c.counts);
        EXPECT_FLOAT_EQ(g_resolution[0], c.counts ? 1.0f / static_cast<float>(c.counts) : 0.0f);
    }
}

TEST_F(Encoder, TtlSignalsHaveNoInterpolation)
{
    g_param[16] = 0x0106;
    WithDialog([&](HWND dialog) {
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_ENC_INTERPOLATION, CB_GETCURSEL, 0, 0), 3);   // 10x
        Select(dialog, IDC_ENC_SIGNAL_TYPE, 8);   // TTL Single Ended XnB
        h.Clock().Advance(100);
        EXPECT_FALSE(IsControlEnabled(dialog, IDC_ENC_INTERPOLATION));
    });
    EXPECT_EQ(g_param[16], 0x0803u);
    EXPECT_THAT(SimCalls(), Contains("AXB_SetParam(0,16,2051)=1"));
    EXPECT_TRUE(h.Log().HasLine("setting par 16to 2051"));
}

TEST_F(Encoder, SwitchingAxesWritesTheOldAxisFirstAndTheCloseBoxDiscards)
{
    g_param[20] = 0;
    WithDialog([&](HWND dialog) {
        CheckDlgButton(dialog, IDC_ENC_COUNT_REVERSE, BST_CHECKED);
        PressButton(dialog, IDC_AXIS_Y);
        EXPECT_EQ(g_param[20], 1u);
        CheckDlgButton(dialog, IDC_ENC_ACU_RITE, BST_CHECKED);
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(AxbSim_PeekParam(20), 1u);
    EXPECT_EQ(g_param[73 + 40], 0u);
    EXPECT_EQ(g_radio_last, 1);
}

TEST_F(Encoder, ZoomCountDirectionIsItsOwnBitAndMarkSettingsReachTheBoard)
{
    const uint32_t p20 = g_param[20];
    WithDialog([&](HWND dialog) {
        CheckDlgButton(dialog, IDC_ENC_ANALOG_INVERTED, BST_CHECKED);
        CheckDlgButton(dialog, IDC_ENC_ACU_RITE, BST_CHECKED);
        PressButton(dialog, IDC_AXIS_ZOOM);
        EXPECT_FALSE(IsControlVisible(dialog, IDC_ENC_SIGNAL_TYPE));
        const bool reversed = IsChecked(dialog, IDC_ENC_COUNT_REVERSE);
        CheckDlgButton(dialog, IDC_ENC_COUNT_REVERSE, reversed ? BST_UNCHECKED : BST_CHECKED);
    });
    EXPECT_EQ(g_param[20], p20);
    EXPECT_EQ(AxbSim_PeekParam(22), g_param[22]);
    EXPECT_THAT(SimCallsStartingWith("AXB_SetParam(0,22,"), ::testing::SizeIs(1));
    EXPECT_EQ(g_param[73], 2u);
    EXPECT_TRUE(SimCallsStartingWith("AXB_SetParam(0,73,").empty());   // the table only
    uint16_t reg = 0;
    AXB_GetAxisReg(0, 0, 2, &reg);
    EXPECT_TRUE(reg & 0x800);
}

} // namespace
