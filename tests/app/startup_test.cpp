// Start-up of the main window: board connection with its retries, the
// version captions and log lines, the forced parameters and the board set-up
// calls, and what the window offers without a board.
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
#include <fstream>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr char kOpenLine[] = "About to call AXB_OpenDrv";
constexpr int kVersionCaptions[] = {IDC_VER_FIRMWARE, IDC_VER_HARDWARE, IDC_VER_FPGA,
                                    IDC_VER_SERIAL, IDC_VER_DLL, IDC_VER_OE};

class Startup : public ::testing::Test {
protected:
    int CountLines(const std::string& line)
    {
        auto lines = h.Log().Lines();
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }
    void WriteSetting(const std::string& section, const std::string& key, const std::string& value)
    {
        auto folder = h.Folder() / L"settings" / L"TavRosen" / L"Settings";
        std::filesystem::create_directories(folder);
        std::ofstream(folder / L"TavRosen.ini", std::ios::app) << "[" << section << "]\r\n" << key << "=" << value << "\r\n";
    }

    ProgramHarness h;
};

TEST_F(Startup, ConnectedBoardShowsItsVersionsInCaptionsAndLog)
{
    AxbSim_SetFirmwareVersion(0x02050103);
    AxbSim_SetHardwareVersion(0x402);
    AxbSim_SetFpgaVersion(0x2107);
    AxbSim_SetSerialNumber(0xFFFFFFFF);
    AxbSim_SetDllVersion(0x04020011);
    AxbSim_SetOeVersion(10);
    const uint32_t startTick = static_cast<uint32_t>(h.Clock().Now64());

    HWND main = h.StartProgram();

    wchar_t title[128];
    GetWindowTextW(main, title, 128);
    EXPECT_STREQ(title, L"stagetune:4.0.0 2021 August 12");
    EXPECT_EQ(ControlText(main, IDC_VER_FIRMWARE), L"Firmware Version 0x2.5.1.3 (2.5.1.3)");
    EXPECT_EQ(ControlText(main, IDC_VER_HARDWARE), L"Hardware Version 0x402 (1026)");
    EXPECT_EQ(ControlText(main, IDC_VER_FPGA), L"FPGA Version 0x2107 (8455)");
    EXPECT_EQ(ControlText(main, IDC_VER_SERIAL), L"SN 0xFFFFFFFF (-1)");
    EXPECT_EQ(ControlText(main, IDC_VER_DLL), L"DLL Version 0x4.2.0.11 (4.2.0.17)");
    EXPECT_EQ(ControlText(main, IDC_VER_OE), L"OE Version 0x0A (10)");

    auto lines = h.Log().Lines();
    lines.resize(std::min<size_t>(lines.size(), 8));
    EXPECT_THAT(lines,
                ElementsAre(kOpenLine, "Calling AXB_OpenDrv returned 1 GetTickCount()=" + std::to_string(startTick),
                            "Firmware Version 0x2.5.1.3 (2.5.1.3)", "Hardware Version 0x402 (1026)",
                            "FPGA Version 0x2107 (8455)", "SN 0xFFFFFFFF (-1)", "DLL Version 0x4.2.0.11 (4.2.0.17)",
                            "OE Version 0x0A (10)"));
    EXPECT_EQ(g_boardPresent, 1);
    EXPECT_EQ(h.Clock().TimerPeriod(main, IDT_TICK), 10u);
}

TEST_F(Startup, BoardAnsweringOnTheThirdAttemptCostsTwoWaits)
{
    AxbSim_SetOpenFailures(2);
    HWND main = h.StartProgram();

    EXPECT_EQ(CountLines(kOpenLine), 3);
    EXPECT_EQ(CountLines("Calling AXB_OpenDrv returned 0 GetTickCount()=1000000"), 1);
    EXPECT_EQ(CountLines("Calling AXB_OpenDrv returned 0 GetTickCount()=1000200"), 1);
    EXPECT_EQ(CountLines("Calling AXB_OpenDrv returned 1 GetTickCount()=1000400"), 1);
    EXPECT_EQ(h.Clock().SleptMs(), 400u);
    EXPECT_EQ(CountLines("No AXB hardware attached"), 0);
    EXPECT_EQ(ControlText(main, IDC_VER_OE).rfind(L"OE Version", 0), 0u);
    EXPECT_EQ(g_boardPresent, 1);
}

TEST_F(Startup, AbsentBoardLeavesAUsableWindowWithUnknownVersions)
{
    AxbSim_SetOpenFailures(-1);
    HWND main = h.StartProgram();

    EXPECT_EQ(CountLines(kOpenLine), 5);
    EXPECT_EQ(h.Clock().SleptMs(), 1000u) << "five attempts, each followed by a 200 ms wait";
    EXPECT_EQ(h.Log().Lines().back(), "No AXB hardware attached");
    EXPECT_EQ(ControlText(main, IDC_VER_FIRMWARE), L"Firmware: Unknown");
    EXPECT_EQ(ControlText(main, IDC_VER_HARDWARE), L"Hardware: Unknown");
    EXPECT_EQ(ControlText(main, IDC_VER_FPGA), L"FPGA: Unknown");
    EXPECT_EQ(ControlText(main, IDC_VER_SERIAL), L"SN: Unknown");
    EXPECT_EQ(ControlText(main, IDC_VER_DLL), L"DLL: Unknown");
    EXPECT_EQ(ControlText(main, IDC_VER_OE), L"OE: Unknown");
    EXPECT_EQ(g_boardPresent, 0);

    // Only the connection attempts reach the driver.
    auto calls = SimCalls();
    EXPECT_EQ(calls.size(), 5u);
    EXPECT_TRUE(std::all_of(calls.begin(), calls.end(), [](auto& c) { return c.rfind("AXB_OpenDrv()", 0) == 0; }));

    // The window is still there to work with, its timer running idle.
    EXPECT_TRUE(IsControlEnabled(main, IDC_APPLY));
    EXPECT_TRUE(IsControlEnabled(main, IDC_PARAM_P));
    EXPECT_TRUE(IsControlEnabled(main, IDC_TARGET));
    EXPECT_TRUE(IsControlVisible(main, IDC_GPIO));
    EXPECT_EQ(h.Clock().TimerPeriod(main, IDT_TICK), 10u);
    AxbSim_ClearCallLog();
    h.Clock().Advance(100);
    EXPECT_THAT(SimCalls(), IsEmpty());
}

TEST_F(Startup, ForcedParametersAreWrittenOnlyWhereTheBoardDiffers)
{
    struct Case {
        uint32_t p8, p10, p12, p22;
        std::vector<std::string> writes;
    };
    const Case cases[] = {
        {1, 0, 7, 0, {"AXB_SetParam(0,10,1)=1", "AXB_SetParam(0,12,1)=1", "AXB_SetParam(0,22,219)=1"}},
        {1, 1, 1, 5, {}},     // P022 is forced only while it is 0
        {1, 1, 1, 219, {}},   // a board that already holds every value
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.p22);
        h.RestartProgram([&] {
            AxbSim_PokeParam(8, c.p8);
            AxbSim_PokeParam(10, c.p10);
            AxbSim_PokeParam(12, c.p12);
            AxbSim_PokeParam(14, 1);
            AxbSim_PokeParam(22, c.p22);
            AxbSim_ClearCallLog();
        });
        EXPECT_EQ(SimCallsStartingWith("AXB_SetParam("), c.writes);
        EXPECT_EQ(g_param[22], c.p22 == 0 ? 219u : c.p22);
        EXPECT_EQ(g_param[12], 1u);
    }
    // Values the program's copy already holds are not even read back.
    EXPECT_EQ(SimCallsStartingWith("AXB_GetParam(0,8,").size(), 1u);
}

TEST_F(Startup, SetsUpTheBoardAfterReadingEveryParameter)
{
    AxbSim_PokeParam(58, 2000);
    for (int n : {8, 10, 12, 14, 22})
        AxbSim_PokeParam(n, 0);
    h.StartProgram();

    auto calls = SimCalls();
    auto position = [&](const std::string& prefix) {
        auto it = std::find_if(calls.begin(), calls.end(), [&](auto& c) { return c.rfind(prefix, 0) == 0; });
        return it == calls.end() ? -1 : static_cast<int>(it - calls.begin());
    };
    EXPECT_EQ(SimCallsStartingWith("AXB_GetParam(").size(), 512u + 5u) << "all 512, then the board side of the forced values";
    const int latchX = position("AXB_SetLatchMode(0,0,0,1)");
    ASSERT_GE(latchX, 0);
    EXPECT_LT(position("AXB_GetParam(0,511,"), latchX);
    EXPECT_EQ(position("AXB_SetLatchMode(0,1,0,1)"), latchX + 1);
    EXPECT_EQ(position("AXB_SetLatchMode(0,2,0,1)"), latchX + 2);
    EXPECT_EQ(position("AXB_SetLatchMode(0,3,0,1)"), latchX + 3);
    EXPECT_EQ(position("AXB_ReadStartupWord(0,"), latchX + 4);
    EXPECT_EQ(position("AXB_SetStartupValue(0,10)"), latchX + 5);
    EXPECT_EQ(position("AXB_SetExternIO(0,0,0)"), latchX + 6);
    EXPECT_EQ(position("AXB_SetLatchMode(0,4,"), -1);
    EXPECT_FLOAT_EQ(g_resolution[0], 1.0f / 2000.0f);
}

TEST_F(Startup, TesterModeShowsItsButtonsAndLogsTheBuild)
{
    HWND plain = h.StartProgram();
    EXPECT_FALSE(IsControlVisible(plain, IDC_REREAD));
    EXPECT_EQ(CountLines("KRV_TEST is 1"), 0);
    WriteSetting("stagetune", "TavRosenTester", "257");   // only the low 8 bits count
    HWND main = h.RestartProgram();
    EXPECT_EQ(g_testerMode, 1);
    EXPECT_TRUE(IsControlVisible(main, IDC_SW_FENCE));
    EXPECT_TRUE(IsControlVisible(main, IDC_REREAD));
    EXPECT_TRUE(IsControlVisible(main, IDC_COPY_SETTINGS));
    auto lines = h.Log().Lines();
    std::vector<std::string> banner(lines.begin(), lines.begin() + 5);
    EXPECT_THAT(banner, ElementsAre("KRV_TEST is 1", "stagetune compile date:Aug 12 2021",
                                    "stagetune compile time:10:28:10", "ApplicationVersion:4.0.0",
                                    "ApplicationDate:2021 August 12"));
}

TEST_F(Startup, ZoomTypeKeepsItsLowByteAndHomeButtonsHideForTheXAxis)
{
    WriteSetting("stagetune", "ZoomType", "261");
    HWND main = h.StartProgram();
    EXPECT_EQ(g_zoomType, 5);
    EXPECT_TRUE(IsChecked(main, IDC_AXIS_X));
    EXPECT_FALSE(IsControlVisible(main, IDC_HOME));
    EXPECT_FALSE(IsControlVisible(main, IDC_CONT_HOME));
}

} // namespace
