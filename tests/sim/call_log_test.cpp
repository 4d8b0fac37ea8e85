// The call log: one line per driver call with arguments, out-values and
// result; the control interface stays out of it; the trace file gets the
// same lines with the time in front.
#include "sim_fixture.h"

namespace {

using SimCallLogTest = SimBoardTest;

TEST_F(SimCallLogTest, LinesShowArgumentsOutValuesAndResults)
{
    uint32_t value = 0;
    uint8_t status = 0, error = 0;
    AXB_SetParam(0, 69, static_cast<uint32_t>(-1000000000));
    AXB_GetParam(0, 22, &value);
    AXB_GetMoveStatus(0, 4, &status, &error);
    AXB_SetAxisPosCircle(0, 10000, 0.0, -90.5, 0, 1234, 0.0, 0.0);
    AXB_CloseDrv();
    AXB_GetParam(0, 22, &value);
    EXPECT_EQ(CallLog(), "AXB_SetParam(0,69,3294967296)=1\n"
                         "AXB_GetParam(0,22,&0)=1\n"
                         "AXB_GetMoveStatus(0,4,&5,&0)=1\n"
                         "AXB_SetAxisPosCircle(0,10000,0,-90.5,0,1234,0,0)=1\n"
                         "AXB_CloseDrv()=1\n"
                         "AXB_GetParam(0,22,&?)=0\n");
    EXPECT_EQ(AxbSim_GetCallCount(), 6);
}

TEST_F(SimCallLogTest, ArraysAndSignedValues)
{
    AXB_SetAxisPosAbs(0, kX, -3000);
    AxbSim_AdvanceTimeMs(1000);
    AxbSim_ClearCallLog();
    int32_t record[15] = {};
    int8_t joystick = 1;
    AXB_GetAxisRecord(0, kX, record);
    AXB_GetJoystickVelocity(0, 0, &joystick);
    EXPECT_EQ(record[0], -3000);
    EXPECT_EQ(record[1], -3000);
    EXPECT_EQ(CallLog(), "AXB_GetAxisRecord(0,0,&[-3000,-3000,-3000,0,0,0,0,0,0,0,0,0,0,131077,0])=1\n"
                         "AXB_GetJoystickVelocity(0,0,&0)=1\n");
}

TEST_F(SimCallLogTest, ControlCallsAreNotLogged)
{
    AxbSim_PokeParam(22, 219);
    EXPECT_EQ(AxbSim_PeekParam(22), 219u);
    AxbSim_PlaceAxis(kX, 500);
    EXPECT_EQ(AxbSim_PeekPosition(kX), 500);
    AxbSim_SetErrorByte(kX, 1);
    EXPECT_EQ(AxbSim_GetCallCount(), 0);
    EXPECT_EQ(CallLog(), "");
}

TEST_F(SimCallLogTest, BufferIsCutToFitAndTheFullLengthReturned)
{
    AXB_SetParam(0, 8, 1);
    const std::string full = "AXB_SetParam(0,8,1)=1\n";
    char small[8];
    EXPECT_EQ(AxbSim_GetCallLog(small, sizeof small), full.size());
    EXPECT_EQ(std::string(small), full.substr(0, 7));
}

TEST_F(SimCallLogTest, TraceFileGetsEveryCallWithTheBoardTime)
{
    const std::wstring trace = TestFile(L"trace.txt");
    ASSERT_EQ(AxbSim_SetTraceFile(trace.c_str()), 1);
    AxbSim_SetTimeMs(5000);
    AXB_SetParam(0, 22, 219);
    AxbSim_AdvanceTimeMs(15);
    AXB_SaveParamsToFlash(0);
    AxbSim_SetTraceFile(nullptr);
    EXPECT_EQ(ReadText(trace), "5000 AXB_SetParam(0,22,219)=1\r\n5015 AXB_SaveParamsToFlash(0)=1\r\n");
}

TEST_F(SimCallLogTest, ResetClearsTheLogAndPowerCycleKeepsIt)
{
    AXB_SetParam(0, 8, 1);
    AxbSim_PowerCycle();
    EXPECT_EQ(AxbSim_GetCallCount(), 1);
    AxbSim_Reset();
    EXPECT_EQ(AxbSim_GetCallCount(), 0);
}

} // namespace
