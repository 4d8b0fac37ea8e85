// The SW Fence dialog: the board's fences and the stored fences of X, Y and
// Z in the main window's unit, changed only where the technician typed a new
// number, on every way out of the dialog.
#include "core/flash_items.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "setup_fixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class SwFence : public SetupDialogTest {
protected:
    void OpenFence(ModalScript script) { Open(IDC_SW_FENCE, std::move(script)); }
};

TEST_F(SwFence, OpensOnXYOrZ)
{
    const std::pair<int, int> kCases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {4, 0}};
    Start();
    for (const auto& [current, shown] : kCases) {
        g_radio_last = current;
        OpenFence([&](HWND dlg) {
            EXPECT_TRUE(IsChecked(dlg, kSetupAxisRadios[shown])) << "current axis " << current;
            PressButton(dlg, IDC_FENCE_OK);
        });
        EXPECT_EQ(g_radio_last, shown);
        EXPECT_TRUE(IsChecked(main, IDC_AXIS_X + 0) == (shown == 0));
    }
    EXPECT_THAT(ParamWrites(), IsEmpty());
}

TEST_F(SwFence, MillimetresAreConvertedWithTheAxisScale)
{
    Start();
    SelectUnit(IDC_UNIT_MM);
    Forget();
    krv_user_box_data.swFencePlus[0] = 123456;
    OpenFence([&](HWND dlg) {
        EXPECT_EQ(Text(dlg, IDC_FENCE_PLUS) + " " + Text(dlg, IDC_FENCE_MINUS) + " " + Text(dlg, IDC_FENCE_STORED_PLUS),
                  "1e+06 -1e+06 123.456");
        EXPECT_EQ(Text(dlg, IDC_FENCE_PLUS_CAPTION), "+ SW Fence (mm)");
        TypeText(dlg, IDC_FENCE_PLUS, L"150");
        TypeText(dlg, IDC_FENCE_STORED_PLUS, L"12.5");
        PressButton(dlg, IDC_FENCE_OK);
    });
    EXPECT_THAT(ParamWrites(), ElementsAre("AXB_SetParam(0,68,150000)=1"));
    EXPECT_THAT(LogLinesStartingWith("Setting param"), ElementsAre("Setting param68 to 150000"));
    EXPECT_EQ(krv_user_box_data.swFencePlus[0], 12500);
    EXPECT_TRUE(h.Log().HasLine("Value to convert 123456 result of unconvert 123.456"));
    EXPECT_TRUE(h.Log().HasLine("Value to unconvert 12.5 result of unconvert 12500"));
}

// An open fence of 10^9 counts at 3000 counts/mm shows as "333333"; read
// back it would become 999 999 000. Safety limits must not move by viewing.
TEST_F(SwFence, ViewingInAConvertedUnitMovesNoFence)
{
    for (int unit : {IDC_UNIT_MM, IDC_UNIT_IN}) {
        Start([] { AxbSim_PokeParam(58, 3000); });
        SelectUnit(unit);
        Forget();
        OpenFence([&](HWND dlg) {
            ChooseRadio(dlg, IDC_AXIS_Y, kSetupAxisRadios);
            ChooseRadio(dlg, IDC_AXIS_X, kSetupAxisRadios);
            CloseByCloseBox(dlg);
        });
        EXPECT_THAT(ParamWrites(), IsEmpty()) << unit;
        EXPECT_EQ(g_param[68], 1000000000u);
        EXPECT_EQ(krv_user_box_data.swFencePlus[0], 1000000000);
        EXPECT_EQ(krv_user_box_data.swFenceMinus[0], -1000000000);
    }
}

TEST_F(SwFence, CountsTextWithoutANumberAndTheEnabledBox)
{
    Start();
    krv_user_box_data.swFenceEnabled[0] = 1;
    krv_user_box_data.swFenceEnabled[1] = 0;
    OpenFence([&](HWND dlg) {
        EXPECT_TRUE(IsChecked(dlg, IDC_FENCE_ENABLED));
        SetCheck(dlg, IDC_FENCE_ENABLED, false);
        TypeText(dlg, IDC_FENCE_PLUS, L"abc");
        TypeText(dlg, IDC_FENCE_MINUS, L"-5000");
        TypeText(dlg, IDC_FENCE_STORED_MINUS, L"");
        ChooseRadio(dlg, IDC_AXIS_Y, kSetupAxisRadios);   // applies to X
        EXPECT_FALSE(IsChecked(dlg, IDC_FENCE_ENABLED));
        SetCheck(dlg, IDC_FENCE_ENABLED, true);
        TypeText(dlg, IDC_FENCE_PLUS, L"250000");
        CloseByCloseBox(dlg);
    });
    EXPECT_EQ(krv_user_box_data.swFenceEnabled[0], 0);
    EXPECT_EQ(krv_user_box_data.swFenceEnabled[1], 1);
    EXPECT_EQ(krv_user_box_data.swFenceMinus[0], -1000000000);
    EXPECT_THAT(ParamWrites(), ElementsAre("AXB_SetParam(0,69,4294962296)=1", "AXB_SetParam(0,108,250000)=1"));
    EXPECT_EQ(g_param[68], 1000000000u);
}

TEST_F(SwFence, CaptionsFollowTheUnitAndCarryTheNumbers)
{
    Start();
    SelectUnit(IDC_UNIT_IN);
    CheckDlgButton(main, IDC_DISPLAY_PARAM_NUMBER, BST_CHECKED);
    PressButton(main, IDC_DISPLAY_PARAM_NUMBER);
    g_radio_last = 1;
    OpenFence([&](HWND dlg) {
        EXPECT_EQ(Text(dlg, IDC_FENCE_PLUS_CAPTION), "+ SW Fence (in)(P108)");
        EXPECT_EQ(Text(dlg, IDC_FENCE_MINUS_CAPTION), "- SW Fence (in)(P109)");
        EXPECT_EQ(Text(dlg, IDC_FENCE_STORED_PLUS_CAPTION), "+ Stored (in)(P1105)");
        EXPECT_EQ(Text(dlg, IDC_FENCE_STORED_MINUS_CAPTION), "- Stored (in)(P1117)");
        EXPECT_EQ(Text(dlg, IDC_FENCE_ENABLED), "SW Fence Enabled(P1095)");
        EXPECT_EQ(Text(dlg, IDC_FENCE_PLUS), "39370.1");
        TypeText(dlg, IDC_FENCE_PLUS, L"1");
        PressButton(dlg, IDC_FENCE_OK);
    });
    EXPECT_THAT(ParamWrites(), ElementsAre("AXB_SetParam(0,108,25400)=1"));
}

} // namespace
