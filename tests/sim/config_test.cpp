// The machine-description file: what it changes, and that a bad one is
// reported and leaves the factory machine.
#include "sim_fixture.h"

namespace {

class SimConfigTest : public SimBoardTest {
protected:
    // Uses `text` as the description of a new board and opens it.
    int Describe(const std::string& text)
    {
        const std::wstring path = TestFile(L"machine.ini");
        WriteText(path, text);
        const int accepted = AxbSim_SetConfigFile(path.c_str());
        AxbSim_Reset();
        AXB_OpenDrv();
        return accepted;
    }
};

TEST_F(SimConfigTest, DescriptionSetsVersionsParametersTravelFlashAndFaults)
{
    ASSERT_EQ(Describe("; a customer's machine\r\n"
                       "[Board]\r\nFirmware = 2.5.1.3\r\nDll=0x04020011\r\nOe=0x0A\r\nSystemStatus=0x100\r\n"
                       "[Params]\r\nP022=5\r\np58 = 2000 ; 0.5 um scale\r\nP069=-5000\r\n"
                       "[Axis Zoom]\r\nTravelMin=-100\r\nTravelMax=100\r\n"
                       "[Axis Y]\r\nErrorByte=2\r\n"
                       "[Flash]\r\nW015=0x5A\r\n"),
              1);
    uint8_t f[4] = {};
    AXB_GetFirmwareVersion(0, &f[0], &f[1], &f[2], &f[3]);
    EXPECT_EQ(f[1], 5);
    EXPECT_EQ(Param(22), 5u);
    EXPECT_EQ(Param(58), 2000u);
    EXPECT_EQ(Param(69), static_cast<uint32_t>(-5000));
    uint32_t word = 0, system = 0;
    AXB_ReadFlashWord(0, 15, &word);
    EXPECT_EQ(word, 0x5Au);
    AXB_GetSystemStatus(0, &system);
    EXPECT_EQ(system, 0x100u);
    EXPECT_EQ(ErrorByte(1), 2);
    AXB_SetAxisPosAbs(0, kZoom, 100000);
    AxbSim_AdvanceTimeMs(1000);
    EXPECT_EQ(Position(kZoom), 100);
}

TEST_F(SimConfigTest, AbsentBoardAndOpenFailures)
{
    AXB_CloseDrv();
    Describe("[Board]\nOpenFailures=3\n");
    EXPECT_EQ(AxbSim_IsDriverOpen(), 0);
    EXPECT_EQ(AXB_OpenDrv(), 0);
    EXPECT_EQ(AXB_OpenDrv(), 0);
    EXPECT_EQ(AXB_OpenDrv(), 1);

    Describe("[Board]\nPresent=0\n");
    EXPECT_EQ(AXB_OpenDrv(), 0);
}

TEST_F(SimConfigTest, OlderFirmwareKeepsTheFactorySpeedsInMillimetresPerSecond)
{
    Describe("[Board]\nFirmware=0.2.0.10\n");
    EXPECT_EQ(Param(61), 100u);
    AXB_SetAxisPosAbs(0, kX, 100000);
    EXPECT_EQ(MsUntilEnded(kX, 3000), 1200u);
}

TEST_F(SimConfigTest, SavedFlashOutlivesTheDescription)
{
    Describe("[Params]\nP022=5\n");
    AXB_SetParam(0, 22, 219);
    AXB_SaveParamsToFlash(0);
    AxbSim_PowerCycle();
    AXB_OpenDrv();
    EXPECT_EQ(Param(22), 219u);
}

class SimBadConfigTest : public SimConfigTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SimBadConfigTest, IsRefusedAndTheFactoryMachineRuns)
{
    const std::wstring trace = TestFile(L"trace.txt");
    ASSERT_EQ(AxbSim_SetTraceFile(trace.c_str()), 1);
    EXPECT_EQ(Describe(std::string("[Params]\nP058=3000\n") + GetParam()), 0);
    EXPECT_EQ(Param(58), 1000u);
    EXPECT_NE(ReadText(trace).find(" not used: "), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Lines, SimBadConfigTest,
                         ::testing::Values("P512=1\n", "P058=x\n", "P058=4294967296\n", "[Board]\nFirmware=2.5.1\n",
                                           "[Board]\nOe=256\n", "[Board]\nColour=red\n", "[Axis W]\n",
                                           "[Params\n", "just text\n", "[Flash]\nW256=0\n",
                                           "[Axis X]\nTravelMax=-1\n"));

TEST_F(SimConfigTest, MissingDescriptionIsReported)
{
    const std::wstring trace = TestFile(L"trace.txt");
    AxbSim_SetTraceFile(trace.c_str());
    const std::wstring missing = TestFile(L"nowhere.ini");
    EXPECT_EQ(AxbSim_SetConfigFile(missing.c_str()), 0);
    AxbSim_Reset();
    AXB_OpenDrv();
    EXPECT_EQ(Param(58), 1000u);
    EXPECT_NE(ReadText(trace).find("nowhere.ini not used"), std::string::npos);
}

} // namespace
