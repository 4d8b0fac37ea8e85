// "Encoder": the settings written to the board, the lists by code, TTL
// signals, the zoom's own bits, and that an unchanged field writes nothing.
#include "core/param_table.h"
#include "core/session_state.h"
#include "driver/axb400.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"

using ::testing::Contains;
using ::testing::IsEmpty;
using ::testing::SizeIs;

namespace {

class Encoder : public ProgramTest {
protected:
    // The dialog's timer has run before the technician acts.
    void OpenEncoder(ModalScript script)
    {
        OpenModal(IDC_ENCODER, [&](HWND dlg) {
            h.Clock().Advance(200);
            script(dlg);
        });
    }
};

TEST_F(Encoder, LengthsBecomeCountsAndTheScalesFollow)
{
    struct Case {
        const char* name;
        const wchar_t* resolution;
        const wchar_t* increment;   // nullptr: left as shown
        uint32_t counts, incrementCounts;
    };
    constexpr Case kCases[] = {
        {"1 um", L"0.001", L"20", 1000, 20000},
        {"0.4 um keeps the increment's length", L"0.0004", nullptr, 2500, 50000},
        {"reciprocal n + 0.5 rounds up", L"0.4", nullptr, 3, 50},
        {"no resolution clears", L"0", nullptr, 0, 0},
    };
    Start();
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        g_param[58] = 1000;
        g_param[70] = 20000;
        RecomputeScales();
        OpenEncoder([&](HWND dlg) {
            TypeText(dlg, IDC_ENC_RESOLUTION, c.resolution);
            if (c.increment)
                TypeText(dlg, IDC_ENC_INCREMENT, c.increment);
            PressButton(dlg, IDC_ENC_EXIT);
        });
        EXPECT_EQ(g_param[58], c.counts);
        EXPECT_EQ(g_param[70], c.incrementCounts);
        EXPECT_EQ(AxbSim_PeekParam(58), c.counts);
        EXPECT_FLOAT_EQ(g_resolution[0], c.counts ? 1.0f / static_cast<float>(c.counts) : 0.0f);
    }
}

TEST_F(Encoder, TtlSignalsHaveNoInterpolation)
{
    Start();
    g_param[16] = 0x0106;
    OpenEncoder([&](HWND dlg) {
        EXPECT_EQ(Selected(dlg, IDC_ENC_INTERPOLATION), 3);   // 10x
        SendDlgItemMessageW(dlg, IDC_ENC_SIGNAL_TYPE, CB_SETCURSEL, 8, 0);   // TTL Single Ended XnB
        h.Clock().Advance(100);
        EXPECT_FALSE(IsControlEnabled(dlg, IDC_ENC_INTERPOLATION));
        PressButton(dlg, IDC_ENC_EXIT);
    });
    EXPECT_EQ(g_param[16], 0x0803u);
    EXPECT_THAT(Calls("AXB_SetParam("), Contains("AXB_SetParam(0,16,2051)=1"));
    EXPECT_TRUE(Logged("setting par 16to 2051"));
}

TEST_F(Encoder, SwitchingAxesWritesTheOldAxisFirstAndTheCloseBoxDiscards)
{
    Start();
    g_param[20] = 0;
    OpenEncoder([&](HWND dlg) {
        CheckDlgButton(dlg, IDC_ENC_COUNT_REVERSE, BST_CHECKED);
        PressButton(dlg, IDC_AXIS_Y);
        EXPECT_EQ(g_param[20], 1u);
        CheckDlgButton(dlg, IDC_ENC_ACU_RITE, BST_CHECKED);
        CloseByCloseBox(dlg);
    });
    EXPECT_EQ(AxbSim_PeekParam(20), 1u);
    EXPECT_EQ(g_param[73 + 40], 0u);
    EXPECT_EQ(g_radio_last, 1);
}

TEST_F(Encoder, ZoomCountDirectionIsItsOwnBitAndMarkSettingsReachTheBoard)
{
    Start();
    const uint32_t p20 = g_param[20];
    OpenEncoder([&](HWND dlg) {
        CheckDlgButton(dlg, IDC_ENC_ANALOG_INVERTED, BST_CHECKED);
        CheckDlgButton(dlg, IDC_ENC_ACU_RITE, BST_CHECKED);
        PressButton(dlg, IDC_AXIS_ZOOM);
        EXPECT_FALSE(IsControlVisible(dlg, IDC_ENC_SIGNAL_TYPE));
        const bool reversed = IsChecked(dlg, IDC_ENC_COUNT_REVERSE);
        CheckDlgButton(dlg, IDC_ENC_COUNT_REVERSE, reversed ? BST_UNCHECKED : BST_CHECKED);
        PressButton(dlg, IDC_ENC_EXIT);
    });
    EXPECT_EQ(g_param[20], p20);
    EXPECT_EQ(AxbSim_PeekParam(22), g_param[22]);
    EXPECT_THAT(Calls("AXB_SetParam(0,22,"), SizeIs(1));
    EXPECT_EQ(g_param[73], 2u);
    EXPECT_THAT(Calls("AXB_SetParam(0,73,"), IsEmpty()) << "the table only";
    uint16_t reg = 0;
    AXB_GetAxisReg(0, 0, 2, &reg);
    EXPECT_TRUE(reg & 0x800);
}

} // namespace
