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
        {"[Axis X]\nExtraLag=300\nLimitSwitches=0\nMarkInverted=1\nRefMarks=1000, -2000,3000\n", true, 1000},
        {"[Axis Y]\nExtraLag=lots\n", false, 1000},
        {"[Axis X]\nLimitSwitches=2\n", false, 1000},
        {"[Axis Zoom]\nHomeSwitchWidth=2000\nStuck=1\n", true, 1000},
        {"[Axis X]\nHomeSwitchWidth=2000\n", false, 1000},
        {"[Axis Zoom]\nHomeSwitchWidth=-1\n", false, 1000},
        {"[Axis Zoom]\nStuck=2\n", false, 1000},
        {"[Board]\nProbeStatus=4\n[Axis Q]\nMoveStatusMask=0x81\nMoveStatus=0x80\n", true, 1000},
        {"[Board]\nProbeStatus=256\n", false, 1000},
        {"[Axis Q]\nMoveStatus=0x100\n", false, 1000},
        {"[Axis Q]\nMoveStatus=0x81\nMoveStatusMask=0x80\n", false, 1000},
        {"[Axis X]\nRefMarks=1,,2\n", false, 1000},
        {"[Axis X]\nRefMarks=1,\n", false, 1000},
        {"[Axis X]\nRefMarks=x\n", false, 1000},
        {"[Axis Q]\nCodedScale=AcuRite\nScaleIncrement=501\nScaleCountsPerLine=400\nScaleZero=-7\n", true, 1000},
        {"[Axis Q]\nCodedScale=Standard\nScaleIncrement=500\nScaleCountsPerLine=2\nScaleReversed=1\n", true, 1000},
        {"[Axis Q]\nCodedScale=Heidenhain\n", false, 1000},
        {"[Axis Q]\nCodedScale=Standard\nScaleIncrement=501\nScaleCountsPerLine=400\n", false, 1000},
        {"[Axis Q]\nCodedScale=AcuRite\nScaleIncrement=501\nScaleCountsPerLine=1\n", false, 1000},
        {"[Axis Q]\nCodedScale=AcuRite\nScaleIncrement=501\n", false, 1000},
        {"[Axis Q]\nScaleZero=5\n", false, 1000},
        {"[Axis Q]\nRefMarks=5\nCodedScale=AcuRite\nScaleIncrement=501\nScaleCountsPerLine=400\n", false, 1000},
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

TEST_F(SimConfigTest, AxisKeysDescribeScalesStopsAndFaults)
{
    const std::wstring path = TestFile(L"machine.ini");
    WriteText(path, "[Axis X]\nRefMarks = 20000, -3000\nMarkInverted = 1\n"
                    "[Axis Y]\nExtraLag = -250\nLimitSwitches = 0\nTravelMax = 10000\n"
                    "[Axis Z]\nCodedScale = Standard\nScaleIncrement = 1000\nScaleCountsPerLine = 20\n"
                    "ScaleZero = 40000\nScaleReversed = 1\n"
                    "[Axis Zoom]\nHomeSwitchWidth = 2000\nStuck = 1\nPosition = -3000\n");
    ASSERT_EQ(AxbSim_SetConfigFile(path.c_str()), 1);
    AxbSim_Reset();
    ASSERT_EQ(AXB_OpenDrv(), 1);
    int32_t marks[4] = {};
    ASSERT_EQ(AxbSim_GetMarks(kX, marks, 4), 2);
    EXPECT_EQ(marks[0], -3000);
    EXPECT_EQ(marks[1], 20000);
    // Z's scale runs down from 40000: fixed marks every 20000 counts, the
    // coded one (501 + j) lines of 20 counts below each; within the travel
    // (down to -150000) A(0)..A(9) and B(0)..B(8).
    ASSERT_EQ(AxbSim_GetMarks(2, marks, 4), 19);
    EXPECT_EQ(marks[0], 40000 - 9 * 20000) << "A(9), the lowest";
    EXPECT_EQ(marks[1], 40000 - 8 * 20000 - (501 + 8) * 20) << "B(8)";

    // X sees its inverted marks only once register 2 bit 11 says so.
    AXB_SetLatchMode(0, kX, 2, 7);
    AXB_SetAxisPosAbs(0, kX, 30000);
    AxbSim_AdvanceTimeMs(1000);
    uint16_t status = 0;
    AXB_GetAxisStatus(0, kX, &status);
    EXPECT_EQ(status & 0x20, 0);
    AXB_SetAxisReg(0, kX, 2, 0x0800);
    AXB_SetAxisPosAbs(0, kX, 0);
    AxbSim_AdvanceTimeMs(1000);
    AXB_GetAxisStatus(0, kX, &status);
    EXPECT_EQ(status & 0x20, 0x20);

    // Y trails 250 counts ahead and runs into a hard stop at 10000.
    int32_t lag = 0;
    AXB_GetFollowingError(0, 1, &lag);
    EXPECT_EQ(lag, -250);
    AXB_SetAxisPosAbs(0, 1, 50000);
    AxbSim_AdvanceTimeMs(2000);
    uint8_t moveStatus = 0, error = 0;
    AXB_GetMoveStatus(0, 1, &moveStatus, &error);
    EXPECT_EQ(error, 0x02);
    EXPECT_EQ(moveStatus & 0xC0, 0);
    EXPECT_EQ(Position(1), 10000);

    // The zoom starts on its home switch, 1000 counts above the end, and
    // does not move when told to.
    EXPECT_EQ(MoveStatus(kZoom) & 0x80, 0x80);
    AXB_SetAxisPosAbs(0, kZoom, 20000);
    AxbSim_AdvanceTimeMs(2000);
    EXPECT_EQ(MoveStatus(kZoom) & 0x81, 0x80);
    EXPECT_EQ(Position(kZoom), 0);
}

// Y's move-status bit 7 always set and bit 0 clear, Z's whole byte 0x84,
// the probe deflected: from power-on and again after a board reset, which
// keeps what the control interface forces; mask 0 ends any forcing.
TEST_F(SimConfigTest, ForcedStatusBytesReadAsForcedWhateverTheAxisDoes)
{
    const std::wstring path = TestFile(L"machine.ini");
    WriteText(path, "[Board]\nProbeStatus=2\n[Axis Y]\nMoveStatus=0x80\nMoveStatusMask=0x81\n"
                    "[Axis Z]\nMoveStatus=0x84\n");
    ASSERT_EQ(AxbSim_SetConfigFile(path.c_str()), 1);
    AxbSim_Reset();
    ASSERT_EQ(AXB_OpenDrv(), 1);
    AxbSim_SetProbeStatus(4);
    AxbSim_ForceMoveStatus(kX, 0x41, 0x40);
    AXB_SetAxisPosAbs(0, kX, 1000);
    AxbSim_AdvanceTimeMs(200);
    EXPECT_EQ(Position(kX), 1000) << "moves as before";
    ASSERT_EQ(AXB_ResetBoard(0), 1);
    uint8_t probe = 0;
    EXPECT_EQ(AXB_GetProbeStatus(0, &probe), 1);
    EXPECT_EQ(probe, 2);
    const uint8_t kForced[] = {0x44, 0x84, 0x84, 0x05, 0x05};
    for (int a = 0; a < 5; ++a)
        EXPECT_EQ(MoveStatus(a), kForced[a]) << a;
    AxbSim_ForceMoveStatus(kX, 0, 0x40);
    AxbSim_ForceMoveStatus(1, 0, 0);
    EXPECT_EQ(MoveStatus(kX) | MoveStatus(1), 0x05);
}

// Machine descriptions shipped in sim/machines.
std::wstring ShippedMachine(const char* name)
{
    std::string path = std::string(AXBSIM_MACHINES_DIR) + "/" + name;
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path; // Wine's drive for the Unix root
    return std::wstring(path.begin(), path.end());
}

TEST_F(SimConfigTest, ShippedMachinesLoad)
{
    ASSERT_EQ(AxbSim_SetConfigFile(ShippedMachine("single-marks.ini").c_str()), 1);
    AxbSim_Reset();
    ASSERT_EQ(AXB_OpenDrv(), 1);
    const int32_t expected[] = {125000, 60000, -40000};
    for (int a = 0; a < 3; ++a) {
        int32_t mark = 0;
        EXPECT_EQ(AxbSim_GetMarks(a, &mark, 1), 1);
        EXPECT_EQ(mark, expected[a]);
    }
    EXPECT_EQ(AxbSim_GetMarks(3, nullptr, 0), 0);
    AXB_SetAxisPosAbs(0, 3, 1000000);
    AxbSim_AdvanceTimeMs(5000);
    uint8_t moveStatus = 0, error = 0;
    AXB_GetMoveStatus(0, 3, &moveStatus, &error);
    EXPECT_EQ(error, 0x02) << "Q ran into its hard stop";
    EXPECT_EQ(Position(3), 100000);

    ASSERT_EQ(AxbSim_SetConfigFile(ShippedMachine("distance-coded.ini").c_str()), 1);
    AxbSim_Reset();
    ASSERT_EQ(AXB_OpenDrv(), 1);
    EXPECT_EQ(Param(58), 10000u);
    EXPECT_EQ(Param(73), 2u);
    EXPECT_EQ(Param(20), 4u);
    int32_t marks[64] = {};
    ASSERT_EQ(AxbSim_GetMarks(kX, marks, 64), 40) << "A(23)..A(42) and B(23)..B(42)";
    EXPECT_EQ(marks[0], -5000000 + 23 * 200400);
    EXPECT_EQ(marks[1], -5000000 + 23 * 200400 + 24 * 400);
    EXPECT_EQ(AxbSim_GetMarks(1, nullptr, 0), 30);
    EXPECT_EQ(AxbSim_GetMarks(2, nullptr, 0), 20);
    AxbSim_SetConfigFile(nullptr);
}

} // namespace
