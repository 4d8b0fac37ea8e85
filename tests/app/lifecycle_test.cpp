// Start-up of the main window: board connection with its retries, the
// version captions and log lines, the forced parameters and the board set-up
// calls, and what the window offers without a board. The Startup tests start
// the program themselves: the calls and lines of start-up are what they check.
// Then the ways the window ends (Exit, Enter in a field, the close box,
// destruction), what it keeps across a restart, and "Reset", which closes the
// board and initialises again. Last, the second program of the product
// family, which leaves the board alone, says so and ends.
#include "app/main_window.h"
#include "tests/app/app_test.h"
#include "ui/axis_radios.h"

#include <filesystem>
#include <fstream>

namespace {

class Startup : public ProgramTest {
protected:
    long CountLines(const std::string& line) { return std::ranges::count(h.Log().Lines(), line); }
    std::vector<std::string> VersionCaptions()
    {
        std::vector<std::string> captions;
        for (int id : {IDC_VER_FIRMWARE, IDC_VER_HARDWARE, IDC_VER_FPGA, IDC_VER_SERIAL, IDC_VER_DLL, IDC_VER_OE})
            captions.push_back(Text(main, id));
        return captions;
    }
};

// The versions come first in the log; the board is set up once every
// parameter has been read.
TEST_F(Startup, ConnectedBoardShowsItsVersionsAndIsSetUpAfterEveryParameterIsRead)
{
    AxbSim_SetFirmwareVersion(0x02050103);
    AxbSim_SetHardwareVersion(0x402);
    AxbSim_SetFpgaVersion(0x2107);
    AxbSim_SetSerialNumber(0xFFFFFFFF);
    AxbSim_SetDllVersion(0x04020011);
    AxbSim_SetOeVersion(10);
    AxbSim_PokeParam(58, 2000);
    for (int n : {8, 10, 12, 14, 22})
        AxbSim_PokeParam(n, 0);
    const uint64_t startTick = h.Clock().Now64();
    main = h.StartProgram();
    EXPECT_EQ(WindowTitle(main), "stagetune:4.0.0 2021 August 12");
    std::vector<std::string> lines = {"About to call AXB_OpenDrv",
                                      "Calling AXB_OpenDrv returned 1 GetTickCount()=" + std::to_string(startTick),
                                      "Firmware Version 0x2.5.1.3 (2.5.1.3)", "Hardware Version 0x402 (1026)",
                                      "FPGA Version 0x2107 (8455)", "SN 0xFFFFFFFF (-1)",
                                      "DLL Version 0x4.2.0.11 (4.2.0.17)", "OE Version 0x0A (10)"};
    EXPECT_EQ(First(8, h.Log().Lines()), lines);
    EXPECT_EQ(VersionCaptions(), std::vector(lines.begin() + 2, lines.end()));
    EXPECT_EQ(h.Clock().TimerPeriod(main, IDT_TICK), 10u);
    EXPECT_EQ(Calls("AXB_GetParam(").size(), 512u + 5u + 5u)
        << "all 512, then the board side of the forced values, each write read back";
    const auto calls = SimCalls();
    const auto latchX = std::ranges::find(calls, "AXB_SetLatchMode(0,0,0,1)=1");
    ASSERT_LE(latchX + 7, calls.end());
    EXPECT_LT(std::ranges::find_if(calls, [](auto& c) { return c.starts_with("AXB_GetParam(0,511,"); }), latchX);
    EXPECT_THAT(std::vector(latchX, latchX + 7),
                ElementsAre("AXB_SetLatchMode(0,0,0,1)=1", "AXB_SetLatchMode(0,1,0,1)=1", "AXB_SetLatchMode(0,2,0,1)=1",
                            "AXB_SetLatchMode(0,3,0,1)=1", StartsWith("AXB_ReadStartupWord(0,"),
                            StartsWith("AXB_SetStartupValue(0,10)"), "AXB_SetExternIO(0,0,0)=1"));
    EXPECT_THAT(Calls("AXB_SetLatchMode(0,4,"), IsEmpty());
    EXPECT_FLOAT_EQ(g_resolution[0], 1.0f / 2000.0f);
}

// The board is asked five times at the most, 200 ms apart; without it the
// window is still there to work with, its timer running idle.
TEST_F(Startup, AbsentBoardLeavesAUsableWindowWithUnknownVersions)
{
    AxbSim_SetOpenFailures(2);
    main = h.StartProgram();
    EXPECT_THAT(LinesStartingWith({"Calling AXB_OpenDrv"}),
                ElementsAre("Calling AXB_OpenDrv returned 0 GetTickCount()=1000000",
                            "Calling AXB_OpenDrv returned 0 GetTickCount()=1000200",
                            "Calling AXB_OpenDrv returned 1 GetTickCount()=1000400"));
    EXPECT_EQ(h.Clock().SleptMs(), 400u);
    EXPECT_FALSE(Logged("No AXB hardware attached"));
    main = h.RestartProgram([] {
        AxbSim_SetOpenFailures(-1);
        AxbSim_ClearCallLog();
    });
    EXPECT_EQ(CountLines("About to call AXB_OpenDrv"), 5);
    EXPECT_EQ(h.Clock().SleptMs(), 400u + 1000u) << "five attempts, each followed by a 200 ms wait";
    EXPECT_EQ(h.Log().Lines().back(), "No AXB hardware attached");
    EXPECT_THAT(VersionCaptions(), ElementsAre("Firmware: Unknown", "Hardware: Unknown", "FPGA: Unknown",
                                               "SN: Unknown", "DLL: Unknown", "OE: Unknown"));
    EXPECT_EQ(SimCalls(), std::vector<std::string>(5, "AXB_OpenDrv()=0")) << "only the connection attempts";
    for (int id : {IDC_APPLY, IDC_PARAM_P, IDC_TARGET})
        EXPECT_TRUE(IsControlEnabled(main, id)) << id;
    EXPECT_TRUE(IsControlVisible(main, IDC_GPIO));
    EXPECT_EQ(h.Clock().TimerPeriod(main, IDT_TICK), 10u);
    AxbSim_ClearCallLog();
    h.Clock().Advance(100);
    EXPECT_THAT(SimCalls(), IsEmpty());
}

TEST_F(Startup, ForcedParametersAreWrittenOnlyWhereTheBoardDiffers)
{
    const struct { uint32_t p8, p10, p12, p22; std::vector<std::string> writes; } cases[] = {
        {1, 0, 7, 0, {"AXB_SetParam(0,10,1)=1", "AXB_SetParam(0,12,1)=1", "AXB_SetParam(0,22,219)=1"}},
        {1, 1, 1, 5, {}},   // P022 is forced only while it is 0, and only what differs is written
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.p22);
        h.RestartProgram([&] {
            for (auto [n, value] : {std::pair{8, c.p8}, {10, c.p10}, {12, c.p12}, {14, 1u}, {22, c.p22}})
                AxbSim_PokeParam(n, value);
            AxbSim_ClearCallLog();
        });
        EXPECT_EQ(Calls("AXB_SetParam("), c.writes);
        EXPECT_EQ(g_param[22], c.p22 == 0 ? 219u : c.p22);
        EXPECT_EQ(g_param[12], 1u);
    }
    // Values the program's copy already holds are not even read back.
    EXPECT_EQ(Calls("AXB_GetParam(0,8,").size(), 1u);
}

// Of "TavRosenTester" and "ZoomType" only the low 8 bits count. "UnitType"
// lives in a fixed file of the machine, outside the settings folder; the
// harness points its reader at the test's own folder.
TEST_F(Startup, TesterModeZoomTypeAndUnitTypeAreTakenAtStart)
{
    main = h.StartProgram();
    EXPECT_FALSE(IsControlVisible(main, IDC_REREAD));
    EXPECT_EQ(CountLines("KRV_TEST is 1"), 0);
    EXPECT_TRUE(IsChecked(main, IDC_UNIT_STORED)) << "no UnitType: as stored";
    WriteSetting(L"stagetune", L"TavRosenTester", L"257");
    WriteSetting(L"stagetune", L"ZoomType", L"261");
    std::ofstream(h.File(L"tavrosen.ini")) << "[stagetune]\r\nUnitType=1\r\n";
    main = h.RestartProgram();
    for (int id : {IDC_SW_FENCE, IDC_REREAD, IDC_COPY_SETTINGS})
        EXPECT_TRUE(IsControlVisible(main, id)) << id;
    EXPECT_THAT(First(5, h.Log().Lines()), ElementsAre("KRV_TEST is 1", "stagetune compile date:Aug 12 2021",
                                           "stagetune compile time:10:28:10", "ApplicationVersion:4.0.0",
                                           "ApplicationDate:2021 August 12"));
    EXPECT_EQ(g_zoomType, 5);
    EXPECT_TRUE(IsChecked(main, IDC_AXIS_X));
    EXPECT_FALSE(IsControlVisible(main, IDC_HOME) || IsControlVisible(main, IDC_CONT_HOME));
    EXPECT_TRUE(IsChecked(main, IDC_UNIT_IN) && !IsChecked(main, IDC_UNIT_STORED));
    EXPECT_EQ(g_unitMode, 1);
}

class Shutdown : public ProgramTest {
protected:
    void SetUp() override { Start(); }
    // The exit code of a quit message waiting in the queue, or -99 for none.
    static int PendingQuit() { int code = -99; return PumpMessages(&code) ? code : -99; }
    // Exit's command, as a click or Enter sends it; a quit it posts is left waiting.
    void SendExit(HWND focus)
    {
        SetFocus(focus);
        SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_EXIT, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_EXIT)));
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
        EXPECT_THAT(h.Log().Lines(),
                    ElementsAre("Calling AXB_CloseDrv returned 1 GetTickCount()=" + std::to_string(h.Clock().Now64())));
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
    h.AnswerNextMessageBox(IDNO);   // the applied edit is not saved to flash
    Press(IDC_RESET);
    EXPECT_EQ(g_boardPresent, 0);
    EXPECT_TRUE(Logged("No AXB hardware attached"));
    AxbSim_ClearCallLog();
    h.Clock().Advance(50);
    EXPECT_THAT(SimCalls(), IsEmpty());
}

std::wstring BoxText(HWND box) { wchar_t text[256] = {}; GetDlgItemTextW(box, 0xFFFF, text, 256); return text; }

// Ends the program if the test could not.
struct ProcessGuard {
    PROCESS_INFORMATION pi{};
    ~ProcessGuard() { TerminateProcess(pi.hProcess, 1); CloseHandle(pi.hThread); CloseHandle(pi.hProcess); }
};

TEST(SingleInstance, SecondProgramLeavesTheBoardAloneShowsTheMessageAndEndsWithMinusOne)
{
    // This test process plays the running instance.
    HANDLE running = CreateMutexW(nullptr, FALSE, L"FjordRunning");
    ASSERT_NE(running, nullptr);
    const auto folder =
        std::filesystem::temp_directory_path() / (L"stagetune-second-" + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    // A board with a valid record, so that nothing but the instance check
    // could hold up a program that opened the driver.
    std::ofstream(folder / L"board.ini") << "[Flash]\nW015=0x5A\n";
    const std::filesystem::path trace = folder / L"trace.txt";
    for (auto [name, file] : {std::pair{L"AXBSIM_STATE", folder / L"board.state"},
                              {L"AXBSIM_CONFIG", folder / L"board.ini"}, {L"AXBSIM_TRACE", trace},
                              {L"KRV_SETTINGS", folder}})
        SetEnvironmentVariableW(name, file.c_str());
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + (std::filesystem::path(self).parent_path() / L"stagetune.exe").wstring() + L"\"";
    STARTUPINFOW si{sizeof si};
    ProcessGuard program;
    ASSERT_TRUE(
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &program.pi));
    // The box is titled "stagetune" and has a text; a main window carries the
    // same title until its initialisation has set its own, but no text.
    HWND box = nullptr;
    for (int i = 0; i < 300 && !((box = FindWindowW(L"#32770", L"stagetune")) && !BoxText(box).empty()); ++i)
        Sleep(50);
    ASSERT_NE(box, nullptr) << "no message box from the second program";
    EXPECT_EQ(BoxText(box),
              L"Another TavRosen application is already running.  Please run only one instance at a time.");
    EXPECT_EQ(FindWindowW(L"#32770", L"stagetune:4.0.0 2021 August 12"), nullptr) << "no main window";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(WaitForSingleObject(program.pi.hProcess, 20000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(program.pi.hProcess, &code);
    EXPECT_EQ(static_cast<int>(code), -1);
    std::ifstream in(trace);
    for (std::string line; std::getline(in, line);)
        EXPECT_EQ(line.find("AXB_"), std::string::npos) << "no driver call at all: " << line;
    CloseHandle(running);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

} // namespace
