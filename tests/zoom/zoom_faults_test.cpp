// The zoom after things went wrong or were left unsaved: the Zoom dialog
// keeps the record's unsaved edits, a command after a homing timeout moves,
// and HOME and the digit keys for every zoom kind.
#include "core/flash_items.h"
#include "core/session_state.h"
#include "infra/settings.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"
#include "zoom/turrets/turrets.h"
#include "zoom/zoom.h"
#include "zoom/zoom_dialog.h"

using ::testing::Contains;
using ::testing::IsEmpty;

namespace {

class ZoomFaults : public ProgramTest {
protected:
    using ProgramTest::ProgramTest;
    // A key as the message loop hands it to the Zoom dialog.
    bool Key(HWND target, wchar_t key)
    {
        const MSG msg{target, WM_KEYDOWN, static_cast<WPARAM>(key), 0, 0, {}};
        return ForwardZoomDialogKey(msg);
    }
};

TEST_F(ZoomFaults, TheDialogKeepsUnsavedRecordEditsAndMovesToThem)
{
    Start();
    krv_user_box_data.zoomPos[0] = 7.5f;   // "Here" or User Parameters, not yet saved
    Press(IDC_ZOOM);
    ASSERT_NE(g_zoomDlg, nullptr);
    EXPECT_EQ(Text(g_zoomDlg, IDC_ZOOM_POS_1), "7.5");
    EXPECT_THAT(Calls("AXB_ReadFlashWord("), IsEmpty());
    EXPECT_EQ(krv_user_box_data.zoomPos[0], 7.5f);
}

TEST_F(ZoomFaults, ACommandAfterAHomingTimeoutHomesAgainAndMoves)
{
    Start();
    krv_user_box_data.zoomPos[1] = 2.0f;
    AxbSim_PlaceAxis(kZoomAxis, 37);
    AxbSim_SetAxisStuck(kZoomAxis, 1);
    ASSERT_TRUE(StartZoomHome());
    h.Clock().Advance(31000);
    ASSERT_TRUE(Logged("ZoomTimer ERROR: Timeout"));
    AxbSim_SetAxisStuck(kZoomAxis, 0);
    Forget();
    ASSERT_TRUE(ZoomGoto(2));
    for (int ms = 0; ms < 20000 && !(g_zoomHomed && g_zoomState == kZoomInactive); ms += 10)
        h.Clock().Advance(10);
    EXPECT_FALSE(Logged("ZoomTimer ERROR: Timeout"));
    EXPECT_TRUE(g_zoomHomed);
    ASSERT_FALSE(Calls("AXB_SetAxisPosAbs(0,4,").empty());
    EXPECT_EQ(Calls("AXB_SetAxisPosAbs(0,4,").back(), "AXB_SetAxisPosAbs(0,4,4000)=1") << "2 mm at 2000 counts/mm";
}

TEST_F(ZoomFaults, HomeAndTheDigitKeysForEveryKindOfZoom)
{
    struct Case {
        int zoomType;
        const char* call;   // what HOME and key "0" send
    };
    for (const Case c : {Case{kZoomMotorNoSwitch, "AXB_SeekHome(0,4)=1"}, Case{kZoomMotor, "AXB_SetAxisPosAbs(0,4,-100000)=1"}}) {
        SCOPED_TRACE(c.zoomType);
        WriteSetting(L"stagetune", L"ZoomType", std::to_wstring(c.zoomType).c_str());
        Start();
        Press(IDC_ZOOM);
        SendMessageW(g_zoomDlg, WM_ACTIVATE, WA_ACTIVE, 0);
        PressButton(g_zoomDlg, IDC_ZOOM_HOME);
        EXPECT_THAT(Calls("AXB_"), Contains(c.call));
        Forget();
        g_zoomState = kZoomInactive;
        EXPECT_TRUE(Key(GetDlgItem(g_zoomDlg, IDC_ZOOM_POSITION), L'0')) << "a read-only field takes no text";
        EXPECT_THAT(Calls("AXB_"), Contains(c.call));
        EXPECT_FALSE(Key(GetDlgItem(g_zoomDlg, IDC_ZOOM_HOME_PERCENT), L'3')) << "typed into the field";
    }
    // A turret goes to its first position.
    WriteSetting(L"stagetune", L"ZoomType", L"2");
    Start();
    Press(IDC_ZOOM);
    PressButton(g_zoomDlg, IDC_ZOOM_HOME);
    EXPECT_TRUE(Logged("Olympus box turret is not available yet: position 1 not set"));
}

} // namespace
