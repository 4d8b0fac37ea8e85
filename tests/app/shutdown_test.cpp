// The ways the main window ends (Exit, Enter in a field, the close box,
// destruction), what it keeps across a restart, and "Reset", which closes
// the board and initialises again.
#include "app/main_window.h"
#include "tests/app/app_test.h"
#include "ui/axis_radios.h"

#include <filesystem>

namespace {

class Shutdown : public ProgramTest {
protected:
    void SetUp() override { Start(); }
    // The exit code of a quit message waiting in the queue, or -99 for none.
    static int PendingQuit() { int code = -99; return PumpMessages(&code) ? code : -99; }
    std::string CloseLine() { return "Calling AXB_CloseDrv returned 1 GetTickCount()=" + std::to_string(h.Clock().Now64()); }
    // Exit's command, as a click or Enter sends it; a quit it posts is left waiting.
    void SendExit(HWND focus)
    {
        SetFocus(focus);
        SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_EXIT, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_EXIT)));
    }
};

// Enter in a field moves the focus on instead of closing. Exit and the
// close box close the driver and end the loop; the goto settings go to
// zoom.ini on Exit only.
TEST_F(Shutdown, ExitAndTheCloseBoxCloseTheDriverAndEndTheLoopButOnlyExitSavesTheGotoSettings)
{
    HWND field = GetDlgItem(main, IDC_PARAM_P);
    SendExit(field);   // what the dialog manager sends for Enter: the default button's command
    EXPECT_EQ(PendingQuit(), -99);
    EXPECT_NE(GetFocus(), field);
    EXPECT_TRUE(g_mainWnd == main && AxbSim_IsDriverOpen() && IsWindowVisible(main));
    EXPECT_THAT(SimCalls(), IsEmpty());
    EXPECT_EQ(Text(main, IDC_TARGET), "5.0000") << "no zoom.ini yet: the default target";
    for (bool exit : {false, true}) {
        SCOPED_TRACE(exit ? "Exit" : "close box");
        TypeText(main, IDC_TARGET, L"12.5");
        Press(IDC_APPLY);
        Forget();
        exit ? SendExit(GetDlgItem(main, IDC_EXIT)) : void(SendMessageW(main, WM_CLOSE, 0, 0));
        EXPECT_EQ(g_mainWnd, nullptr);
        EXPECT_EQ(PendingQuit(), 0);
        EXPECT_THAT(h.Log().Lines(), ElementsAre(CloseLine()));
        EXPECT_EQ(AxbSim_IsDriverOpen(), 0);
        EXPECT_EQ(h.Clock().TimerPeriod(main, IDT_TICK), 0u);
        EXPECT_FALSE(IsWindowVisible(main));
        EXPECT_EQ(std::filesystem::exists(h.File(L"zoom.ini")), exit);
        Start();
    }
    EXPECT_FLOAT_EQ(g_targetMm[0], 12.5f);
}

// Reset closes and reopens the board on the same window, reads every
// parameter again and starts on X, so that the radios, the fields and the
// next write agree.
TEST_F(Shutdown, ResetStartsOnXInTheRadiosTheFieldsAndTheWrites)
{
    ChooseAxis(IDC_AXIS_ZOOM);
    ASSERT_TRUE(IsControlVisible(main, IDC_HOME) && IsControlVisible(main, IDC_CONT_HOME));
    ASSERT_EQ(Text(main, IDC_PARAM_P), std::to_string(g_param[AxisParam(50, 4)]));
    const uint32_t zoomP = AxbSim_PeekParam(AxisParam(50, 4));
    g_param[100] = 4321;   // an edit the board never received
    const uint64_t now = h.Clock().Now64();
    Forget();
    Press(IDC_RESET);
    EXPECT_THAT(First(3, SimCalls()),
                ElementsAre("AXB_ResetBoard(0)=1", "AXB_CloseDrv()=1", StartsWith("AXB_OpenDrv()=")));
    EXPECT_EQ(h.Clock().SleptMs(), 500u);
    EXPECT_THAT(First(3, h.Log().Lines()),
                ElementsAre("Calling AXB_CloseDrv returned 1 GetTickCount()=" + std::to_string(now),
                            "About to call AXB_OpenDrv",
                            "Calling AXB_OpenDrv returned 1 GetTickCount()=" + std::to_string(now + 500)));
    EXPECT_TRUE(g_mainWnd == main && g_boardPresent && AxbSim_IsDriverOpen() &&
                h.Clock().TimerPeriod(main, IDT_TICK) == 10u) << "the same window, on the board again";
    EXPECT_EQ(g_param[100], AxbSim_PeekParam(100)) << "parameters are read again";
    EXPECT_NE(g_param[100], 4321u);
    EXPECT_EQ(g_radio_last, 0);
    for (int id : kAxisRadioIds)
        EXPECT_EQ(IsChecked(main, id), id == IDC_AXIS_X) << id;
    EXPECT_FALSE(IsControlVisible(main, IDC_HOME) || IsControlVisible(main, IDC_CONT_HOME));
    EXPECT_EQ(Text(main, IDC_PARAM_P), std::to_string(g_param[50]));
    // An edit after Reset lands where the fields said it would.
    TypeText(main, IDC_PARAM_P, L"4242");
    Press(IDC_APPLY);
    EXPECT_EQ(AxbSim_PeekParam(50), 4242u);
    EXPECT_EQ(AxbSim_PeekParam(AxisParam(50, 4)), zoomP);
    // Keyboard navigation still works on the re-initialised window.
    HWND field = GetDlgItem(main, IDC_PARAM_P);
    SetFocus(field);
    MSG tab{field, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(main, &tab));
    PumpMessages();
    EXPECT_NE(GetFocus(), field);
    // With the board gone, the timer runs idle.
    AxbSim_SetOpenFailures(-1);
    Press(IDC_RESET);
    EXPECT_EQ(g_boardPresent, 0);
    EXPECT_TRUE(Logged("No AXB hardware attached"));
    AxbSim_ClearCallLog();
    h.Clock().Advance(50);
    EXPECT_THAT(SimCalls(), IsEmpty());
}

} // namespace
