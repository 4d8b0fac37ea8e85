// The machine-description file: what it changes, a board that answers late
// or not at all, and that a bad or missing file is reported and leaves the
// factory machine.
#include "sim_fixture.h"

namespace {

using SimConfigTest = SimBoardTest;

TEST_F(SimConfigTest, BadLineOrMissingFileLeavesTheFactoryMachine)
{
    struct Case {
        const char* line;
        bool accepted;
        uint32_t p061;
    };
    constexpr Case kCases[] = {
        {"", true, 1000},
        {"[Board]\nFirmware=0.2.0.10\n", true, 100}, // keeps the speed in mm/s
        {"P512=1\n", false, 1000},
        {"P058=x\n", false, 1000},
        {"P058=4294967296\n", false, 1000},
        {"[Board]\nFirmware=2.5.1\n", false, 1000},
        {"[Board]\nOe=256\n", false, 1000},
        {"[Board]\nColour=red\n", false, 1000},
        {"[Axis W]\n", false, 1000},
        {"[Params\n", false, 1000},
        {"just text\n", false, 1000},
        {"[Flash]\nW256=0\n", false, 1000},
        {"[Axis X]\nTravelMax=-1\n", false, 1000},
        {"[Axis Y]\nExtraLag=-250\n", true, 1000},
        {"[Axis Y]\nExtraLag=lots\n", false, 1000},
    };
    const std::wstring path = TestFile(L"machine.ini"), trace = TestFile(L"trace.txt");
    ASSERT_EQ(AxbSim_SetTraceFile(trace.c_str()), 1);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        WriteText(path, std::string("; a customer's machine\r\n[Flash]\r\nW015=0x5A\r\n"
                                    "[Params]\r\np58 = 2000 ; 0.5 um scale\r\nP069=-5000\r\n") + c.line);
        const size_t traced = ReadText(trace).size();
        EXPECT_EQ(AxbSim_SetConfigFile(path.c_str()), c.accepted ? 1 : 0);
        AxbSim_Reset();
        ASSERT_EQ(AXB_OpenDrv(), 1);
        EXPECT_EQ(Param(58), c.accepted ? 2000u : 1000u);
        EXPECT_EQ(Param(69), static_cast<uint32_t>(c.accepted ? -5000 : -1000000000));
        EXPECT_EQ(Param(61), c.p061);
        EXPECT_EQ(FlashWord(15), c.accepted ? 0x5Au : kErased);
        EXPECT_EQ(ReadText(trace).find(" not used: ", traced) == std::string::npos, c.accepted);
    }

    EXPECT_EQ(AxbSim_SetConfigFile(TestFile(L"nowhere.ini").c_str()), 0);
    AxbSim_Reset();
    ASSERT_EQ(AXB_OpenDrv(), 1);
    EXPECT_EQ(Param(58), 1000u);
    EXPECT_NE(ReadText(trace).find("nowhere.ini not used"), std::string::npos);
}

TEST_F(SimConfigTest, OpenFailsTheDescribedNumberOfTimesOrAlways)
{
    struct Case {
        const char* board;
        int failures;
    };
    constexpr int kAttempts = 10;
    constexpr Case kCases[] = {{"OpenFailures=2", 2}, {"OpenFailures=-1", kAttempts}, {"Present=0", kAttempts}};
    const std::wstring path = TestFile(L"machine.ini");
    AXB_CloseDrv();
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.board);
        WriteText(path, std::string("[Board]\n") + c.board + "\n");
        ASSERT_EQ(AxbSim_SetConfigFile(path.c_str()), 1);
        AxbSim_Reset();
        int failures = 0;
        while (failures < kAttempts && AXB_OpenDrv() == 0)
            ++failures;
        EXPECT_EQ(failures, c.failures);
        EXPECT_EQ(AxbSim_IsDriverOpen(), c.failures < kAttempts ? 1 : 0);
    }
}

} // namespace
