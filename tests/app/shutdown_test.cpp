// The ways the main window ends (Exit, Enter in a field, the close box,
// destruction) and "Reset", which closes the board and initialises again.
#include "app/main_window.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_harness.h"
#include "tests/support/sim_calls.h"
#include "tests/support/ui_driver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

class Shutdown : public ::testing::Test {
protected:
    void SetUp() override
    {
        main = h.StartProgram();
        h.Log().Clear();
        AxbSim_ClearCallLog();
    }
    // The exit code of a quit message waiting in the queue, or -99 for none.
    int PendingQuit()
    {
        int code = -99;
        return PumpMessages(&code) ? code : -99;
    }
    std::string CloseLine() { return "Calling AXB_CloseDrv returned 1 GetTickCount()=" + std::to_string(h.Clock().Now64()); }

    ProgramHarness h;
    HWND main = nullptr;
};

TEST_F(Shutdown, ExitClosesTheDriverAndEndsTheLoop)
{
    HWND exitButton = GetDlgItem(main, IDC_EXIT);
    SetFocus(exitButton);
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_EXIT, BN_CLICKED), reinterpret_cast<LPARAM>(exitButton));

    EXPECT_EQ(g_mainWnd, nullptr);
    EXPECT_EQ(PendingQuit(), 0);
    EXPECT_THAT(h.Log().Lines(), ::testing::ElementsAre(CloseLine()));
    EXPECT_EQ(AxbSim_IsDriverOpen(), 0);
    EXPECT_EQ(h.Clock().TimerPeriod(main, IDT_TICK), 0u);
    EXPECT_FALSE(IsWindowVisible(main));
}

TEST_F(Shutdown, EnterInAFieldMovesTheFocusOnInsteadOfClosing)
{
    HWND field = GetDlgItem(main, IDC_PARAM_P);
    SetFocus(field);
    // What the dialog manager sends for Enter: the default button's command.
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_EXIT, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_EXIT)));
    PumpMessages();

    EXPECT_EQ(g_mainWnd, main);
    EXPECT_NE(GetFocus(), field);
    EXPECT_EQ(AxbSim_IsDriverOpen(), 1);
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_EQ(h.Clock().TimerPeriod(main, IDT_TICK), 10u);
    EXPECT_THAT(SimCalls(), ::testing::IsEmpty());
}

TEST_F(Shutdown, CloseBoxClosesTheDriverAndQuits)
{
    SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(g_mainWnd, nullptr);
    EXPECT_EQ(PendingQuit(), 0);
    EXPECT_THAT(h.Log().Lines(), ::testing::ElementsAre(CloseLine()));
    EXPECT_EQ(h.Clock().TimerPeriod(main, IDT_TICK), 0u);
}

TEST_F(Shutdown, ResetReopensTheBoardOnTheSameWindow)
{
    g_param[100] = 4321;   // an edit the board never received
    PressButton(main, IDC_RESET);

    auto calls = SimCalls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], "AXB_ResetBoard(0)=1");
    EXPECT_EQ(calls[1], "AXB_CloseDrv()=1");
    EXPECT_TRUE(StartsWith(calls[2], "AXB_OpenDrv()="));
    EXPECT_EQ(h.Clock().SleptMs(), 500u);

    auto lines = h.Log().Lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Calling AXB_CloseDrv returned 1 GetTickCount()=1000000");
    EXPECT_EQ(lines[1], "About to call AXB_OpenDrv");
    EXPECT_EQ(lines[2], "Calling AXB_OpenDrv returned 1 GetTickCount()=1000500");

    EXPECT_EQ(g_mainWnd, main);
    EXPECT_EQ(g_boardPresent, 1);
    EXPECT_EQ(g_param[100], AxbSim_PeekParam(100)) << "parameters are read again";
    EXPECT_NE(g_param[100], 4321u);
    EXPECT_EQ(h.Clock().TimerPeriod(main, IDT_TICK), 10u);
    EXPECT_EQ(AxbSim_IsDriverOpen(), 1);

    // Keyboard navigation still works on the re-initialised window.
    HWND field = GetDlgItem(main, IDC_PARAM_P);
    SetFocus(field);
    MSG tab{field, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(main, &tab));
    PumpMessages();
    EXPECT_NE(GetFocus(), field);
}

TEST_F(Shutdown, ResetStartsOnXInTheRadiosTheFieldsAndTheWrites)
{
    CheckDlgButton(main, IDC_AXIS_X, BST_UNCHECKED);
    CheckDlgButton(main, IDC_AXIS_ZOOM, BST_CHECKED);
    PressButton(main, IDC_AXIS_ZOOM);
    ASSERT_TRUE(IsControlVisible(main, IDC_HOME));
    const uint32_t zoomP = AxbSim_PeekParam(AxisParam(50, 4));
    PressButton(main, IDC_RESET);

    EXPECT_EQ(g_radio_last, 0);
    for (int id : {IDC_AXIS_Y, IDC_AXIS_Z, IDC_AXIS_Q, IDC_AXIS_ZOOM})
        EXPECT_FALSE(IsChecked(main, id)) << id;
    EXPECT_TRUE(IsChecked(main, IDC_AXIS_X));
    EXPECT_FALSE(IsControlVisible(main, IDC_HOME));
    EXPECT_FALSE(IsControlVisible(main, IDC_CONT_HOME));
    EXPECT_EQ(Narrow(ControlText(main, IDC_PARAM_P)), std::to_string(g_param[50]));

    // An edit after Reset lands where the fields said it would.
    TypeText(main, IDC_PARAM_P, L"4242");
    PressButton(main, IDC_APPLY);
    EXPECT_EQ(AxbSim_PeekParam(50), 4242u);
    EXPECT_EQ(AxbSim_PeekParam(AxisParam(50, 4)), zoomP);
}

TEST_F(Shutdown, ResetWithTheBoardGoneLeavesTheTimerIdle)
{
    AxbSim_SetOpenFailures(-1);
    PressButton(main, IDC_RESET);
    EXPECT_EQ(g_boardPresent, 0);
    EXPECT_TRUE(h.Log().HasLine("No AXB hardware attached"));
    AxbSim_ClearCallLog();
    h.Clock().Advance(50);
    EXPECT_THAT(SimCalls(), ::testing::IsEmpty());
}

} // namespace
