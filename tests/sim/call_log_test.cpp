// The call log: one line per driver call with arguments, out-values and
// result; the control interface stays out of it; the trace file gets the
// same lines with the time in front.
#include "sim_fixture.h"
#include "tests/support/sim_calls.h"

namespace {

using SimCallLogTest = SimBoardTest;
using Lines = std::vector<std::string>;

TEST_F(SimCallLogTest, LinesShowArgumentsOutValuesAndResults)
{
    uint32_t value = 0;
    uint8_t status = 0, error = 0;
    int32_t record[15] = {};
    int8_t joystick = 1;
    AXB_SetParam(0, 69, static_cast<uint32_t>(-1000000000));
    AxbSim_PokeParam(22, 219);
    AxbSim_PlaceAxis(kX, -3000);
    AXB_GetParam(0, 22, &value);
    AXB_GetMoveStatus(0, 4, &status, &error);
    AXB_GetAxisRecord(0, kX, record);
    AXB_GetJoystickVelocity(0, 0, &joystick);
    AXB_SetAxisPosCircle(0, 10000, 0.0, -90.5, 0, 1234, 0.0, 0.0);
    AXB_GetParam(0, 58, nullptr);
    AXB_GetParam(1, 58, &value);
    AXB_SetAxisPosAbs(0, 5, 1000);
    AXB_CloseDrv();
    AXB_GetParam(0, 22, &value);
    EXPECT_EQ(value, 219u) << "refused calls write nothing";
    EXPECT_EQ(SimCalls(), (Lines{"AXB_SetParam(0,69,3294967296)=1", "AXB_GetParam(0,22,&219)=1",
                                 "AXB_GetMoveStatus(0,4,&5,&0)=1",
                                 "AXB_GetAxisRecord(0,0,&[-3000,-3000,-3000,0,0,0,0,0,0,0,0,0,0,131077,0])=1",
                                 "AXB_GetJoystickVelocity(0,0,&0)=1",
                                 "AXB_SetAxisPosCircle(0,10000,0,-90.5,0,1234,0,0)=1", "AXB_GetParam(0,58,&null)=1",
                                 "AXB_GetParam(1,58,&?)=0", "AXB_SetAxisPosAbs(0,5,1000)=0",
                                 "AXB_CloseDrv()=1", "AXB_GetParam(0,22,&?)=0"}));
    EXPECT_EQ(AxbSim_GetCallCount(), 11);
}

TEST_F(SimCallLogTest, TraceFileAndLogBufferAndTheirLifetimes)
{
    const std::wstring trace = TestFile(L"trace.txt");
    ASSERT_EQ(AxbSim_SetTraceFile(trace.c_str()), 1);
    AxbSim_SetTimeMs(5000);
    AXB_SetParam(0, 22, 219);
    AxbSim_AdvanceTimeMs(15);
    AXB_SaveParamsToFlash(0);
    AxbSim_SetTraceFile(nullptr);
    EXPECT_EQ(ReadText(trace), "5000 AXB_SetParam(0,22,219)=1\r\n5015 AXB_SaveParamsToFlash(0)=1\r\n");

    const std::string full = "AXB_SetParam(0,22,219)=1\nAXB_SaveParamsToFlash(0)=1\n";
    char small[8];
    EXPECT_EQ(AxbSim_GetCallLog(small, sizeof small), full.size());
    EXPECT_EQ(std::string(small), full.substr(0, 7)) << "cut to fit, NUL-terminated";

    AxbSim_PowerCycle();
    EXPECT_EQ(AxbSim_GetCallCount(), 2) << "kept over a power cycle";
    AxbSim_Reset();
    EXPECT_EQ(AxbSim_GetCallCount(), 0);
}

} // namespace
