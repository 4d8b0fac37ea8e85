// The SW Fence dialog: the board's fences and the stored fences of X, Y and
// Z in the main window's unit, changed only where the technician typed a new
// number, on every way out of the dialog.
#include "core/flash_items.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"
#include "ui/axis_radios.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class SwFence : public ProgramTest {};

TEST_F(SwFence, OpensOnXYOrZ)
{
    const std::pair<int, int> kCases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {4, 0}};
    Start();
    for (const auto& [current, shown] : kCases) {
        g_radio_last = current;
        OpenModal(IDC_SW_FENCE, [&](HWND dlg) {
            EXPECT_TRUE(IsChecked(dlg, kAxisRadioIds[shown])) << "current axis " << current;
            PressButton(dlg, IDC_FENCE_OK);
        });
        EXPECT_EQ(g_radio_last, shown);
        EXPECT_EQ(IsChecked(main, IDC_AXIS_X), shown == 0);
    }
    EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
}

TEST_F(SwFence, MillimetresAreConvertedWithTheAxisScale)
{
    Start();
    ChooseUnit(IDC_UNIT_MM);
    Forget();
    krv_user_box_data.swFencePlus[0] = 123456;
    OpenModal(IDC_SW_FENCE, [&](HWND dlg) {
        EXPECT_EQ(Text(dlg, IDC_FENCE_PLUS) + " " + Text(dlg, IDC_FENCE_MINUS) + " " + Text(dlg, IDC_FENCE_STORED_PLUS),
                  "1e+06 -1e+06 123.456");
        EXPECT_EQ(Text(dlg, IDC_FENCE_PLUS_CAPTION), "+ SW Fence (mm)");
        TypeText(dlg, IDC_FENCE_PLUS, L"150");
        TypeText(dlg, IDC_FENCE_STORED_PLUS, L"12.5");
        PressButton(dlg, IDC_FENCE_OK);
    });
    EXPECT_THAT(Calls("AXB_SetParam("), ElementsAre("AXB_SetParam(0,68,150000)=1"));
    EXPECT_THAT(LinesStartingWith({"Setting param"}), ElementsAre("Setting param68 to 150000"));
    EXPECT_EQ(krv_user_box_data.swFencePlus[0], 12500);
    EXPECT_TRUE(Logged("Value to convert 123456 result of unconvert 123.456"));
    EXPECT_TRUE(Logged("Value to unconvert 12.5 result of unconvert 12500"));
}

TEST_F(SwFence, CountsTextWithoutANumberAndTheEnabledBox)
{
    Start();
    krv_user_box_data.swFenceEnabled[0] = 1;
    krv_user_box_data.swFenceEnabled[1] = 0;
    OpenModal(IDC_SW_FENCE, [&](HWND dlg) {
        EXPECT_TRUE(IsChecked(dlg, IDC_FENCE_ENABLED));
        CheckDlgButton(dlg, IDC_FENCE_ENABLED, BST_UNCHECKED);
        TypeText(dlg, IDC_FENCE_PLUS, L"abc");
        TypeText(dlg, IDC_FENCE_MINUS, L"-5000");
        TypeText(dlg, IDC_FENCE_STORED_MINUS, L"");
        ChooseRadio(dlg, IDC_AXIS_Y, kAxisRadioIds);   // applies to X
        EXPECT_FALSE(IsChecked(dlg, IDC_FENCE_ENABLED));
        CheckDlgButton(dlg, IDC_FENCE_ENABLED, BST_CHECKED);
        TypeText(dlg, IDC_FENCE_PLUS, L"250000");
        CloseByCloseBox(dlg);
    });
    EXPECT_EQ(krv_user_box_data.swFenceEnabled[0], 0);
    EXPECT_EQ(krv_user_box_data.swFenceEnabled[1], 1);
    EXPECT_EQ(krv_user_box_data.swFenceMinus[0], -1000000000);
    EXPECT_THAT(Calls("AXB_SetParam("), ElementsAre("AXB_SetParam(0,69,4294962296)=1", "AXB_SetParam(0,108,250000)=1"));
    EXPECT_EQ(g_param[68], 1000000000u);
}

} // namespace
