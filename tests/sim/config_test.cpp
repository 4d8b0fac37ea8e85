// The machine-description file: what it changes, a board that answers late
// or not at all, and that a bad or missing file is reported and leaves the
// factory machine.
#include "sim_fixture.h"

namespace {

using SimConfigTest = SimBoardTest;

// Each key's own effect is shown below; here one bad line or key spoils the
// whole file.
TEST_F(SimConfigTest, BadLineOrMissingFileLeavesTheFactoryMachine)
{
    constexpr struct {
        const char* line;
        bool accepted;
        uint32_t p061;
    } kCases[] = {
        {"", true, 1000},
        {"[Board]\nFirmware=0.2.0.10\n", true, 100}, // keeps the speed in mm/s
        {"[Axis Q]\nCodedScale=Standard\nScaleIncrement=500\nScaleCountsPerLine=2\nScaleReversed=1\n", true, 1000},
        {"P512=1\n", false, 1000},                         {"P058=x\n", false, 1000},
        {"P058=4294967296\n", false, 1000},                {"[Board]\nFirmware=2.5.1\n", false, 1000},
        {"[Board]\nColour=red\n", false, 1000},            {"[Axis W]\n", false, 1000},
        {"[Params\n", false, 1000},                        {"just text\n", false, 1000},
        {"[Flash]\nW256=0\n", false, 1000},                {"[Axis X]\nTravelMax=-1\n", false, 1000},
        {"[Axis X]\nHomeSwitchWidth=2000\n", false, 1000}, {"[Axis Q]\nScaleZero=5\n", false, 1000},
        {"[Axis Q]\nMoveStatus=0x81\nMoveStatusMask=0x80\n", false, 1000},
        {"[Axis X]\nRefMarks=1,,2\n", false, 1000},        {"[Axis X]\nRefMarks=1,\n", false, 1000},
        {"[Axis Q]\nCodedScale=Heidenhain\n", false, 1000},
        {"[Axis Q]\nCodedScale=AcuRite\nScaleIncrement=501\nScaleCountsPerLine=1\n", false, 1000},
        {"[Axis Q]\nCodedScale=AcuRite\nScaleIncrement=501\n", false, 1000},
        {"[Axis Q]\nRefMarks=5\nCodedScale=AcuRite\nScaleIncrement=501\nScaleCountsPerLine=400\n", false, 1000},
    };
    const std::wstring trace = TestFile(L"trace.txt");
    ASSERT_EQ(AxbSim_SetTraceFile(trace.c_str()), 1);
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.line);
        const size_t traced = ReadText(trace).size();
        EXPECT_EQ(Describe(std::string("; a customer's machine\r\n[Flash]\r\nW015=0x5A\r\n"
                                       "[Params]\r\np58 = 2000 ; 0.5 um scale\r\nP069=-5000\r\n") + c.line),
                  c.accepted ? 1 : 0);
        NewBoard();
        EXPECT_EQ(Param(58), c.accepted ? 2000u : 1000u);
        EXPECT_EQ(Param(69), static_cast<uint32_t>(c.accepted ? -5000 : -1000000000));
        EXPECT_EQ(Param(61), c.p061);
        EXPECT_EQ(FlashWord(15), c.accepted ? 0x5Au : kErased);
        EXPECT_EQ(ReadText(trace).find(" not used: ", traced) == std::string::npos, c.accepted);
    }

    EXPECT_EQ(AxbSim_SetConfigFile(TestFile(L"nowhere.ini").c_str()), 0);
    NewBoard();
    EXPECT_EQ(Param(58), 1000u);
    EXPECT_NE(ReadText(trace).find("nowhere.ini not used"), std::string::npos);
}

TEST_F(SimConfigTest, OpenFailsTheDescribedNumberOfTimesOrAlways)
{
    constexpr int kAttempts = 10;
    constexpr std::pair<const char*, int> kCases[] = {
        {"OpenFailures=2", 2}, {"OpenFailures=-1", kAttempts}, {"Present=0", kAttempts}};
    AXB_CloseDrv();
    for (const auto& [board, expected] : kCases) {
        SCOPED_TRACE(board);
        ASSERT_EQ(Describe(std::string("[Board]\n") + board + "\n"), 1);
        AxbSim_Reset();
        int failures = 0;
        while (failures < kAttempts && AXB_OpenDrv() == 0)
            ++failures;
        EXPECT_EQ(failures, expected);
        EXPECT_EQ(AxbSim_IsDriverOpen(), expected < kAttempts ? 1 : 0);
    }
}

TEST_F(SimConfigTest, AxisKeysDescribeScalesStopsAndFaults)
{
    ASSERT_EQ(Describe("[Axis X]\nRefMarks = 20000, -3000\nMarkInverted = 1\n"
                       "[Axis Y]\nExtraLag = -250\nLimitSwitches = 0\nTravelMax = 10000\n"
                       "[Axis Zoom]\nHomeSwitchWidth = 2000\nStuck = 1\nPosition = -3000\n"),
              1);
    NewBoard();
    int32_t marks[3] = {};
    ASSERT_EQ(AxbSim_GetMarks(kX, marks, 3), 2);
    EXPECT_TRUE(marks[0] == -3000 && marks[1] == 20000) << marks[0] << ", " << marks[1];

    // X sees its inverted marks only once register 2 bit 11 says so.
    AXB_SetLatchMode(0, kX, 2, 7);
    AXB_SetAxisPosAbs(0, kX, 30000);
    AxbSim_AdvanceTimeMs(1000);
    EXPECT_EQ(AxisStatus(kX) & 0x20, 0);
    AXB_SetAxisReg(0, kX, 2, 0x0800);
    AXB_SetAxisPosAbs(0, kX, 0);
    AxbSim_AdvanceTimeMs(1000);
    EXPECT_EQ(AxisStatus(kX) & 0x20, 0x20);

    // Y trails 250 counts ahead and runs into a hard stop at 10000.
    EXPECT_EQ(Lag(1), -250);
    AXB_SetAxisPosAbs(0, 1, 50000);
    AxbSim_AdvanceTimeMs(2000);
    EXPECT_EQ(ErrorByte(1), 0x02);
    EXPECT_EQ(MoveStatus(1) & 0xC0, 0);
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
    ASSERT_EQ(Describe("[Board]\nProbeStatus=2\n[Axis Y]\nMoveStatus=0x80\nMoveStatusMask=0x81\n"
                       "[Axis Z]\nMoveStatus=0x84\n"),
              1);
    NewBoard();
    AxbSim_SetProbeStatus(4);
    AxbSim_ForceMoveStatus(kX, 0x41, 0x40);
    AXB_SetAxisPosAbs(0, kX, 1000);
    AxbSim_AdvanceTimeMs(200);
    EXPECT_EQ(Position(kX), 1000) << "moves as before";
    ASSERT_EQ(AXB_ResetBoard(0), 1);
    EXPECT_EQ(Out<uint8_t>([](auto* v) { return AXB_GetProbeStatus(0, v); }), 2);
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
    if (path[0] == '/')
        path = "Z:" + path; // Wine's drive for the Unix root
    return std::wstring(path.begin(), path.end());
}

// What each machine is for: single marks on X, Y and Z; coded scales on X,
// Y and Z, which the program is told of (P073 = 2: Acu-Rite on X).
TEST_F(SimConfigTest, ShippedMachinesLoad)
{
    ASSERT_EQ(AxbSim_SetConfigFile(ShippedMachine("single-marks.ini").c_str()), 1);
    NewBoard();
    for (int a = 0; a < 3; ++a)
        EXPECT_EQ(AxbSim_GetMarks(a, nullptr, 0), 1) << a;
    ASSERT_EQ(AxbSim_SetConfigFile(ShippedMachine("distance-coded.ini").c_str()), 1);
    NewBoard();
    EXPECT_EQ(Param(73), 2u);
    const int expected[] = {40, 30, 20};
    for (int a = 0; a < 3; ++a)
        EXPECT_EQ(AxbSim_GetMarks(a, nullptr, 0), expected[a]) << a;
    AxbSim_SetConfigFile(nullptr);
}

} // namespace
