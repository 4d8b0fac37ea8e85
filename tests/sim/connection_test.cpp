// Opening the driver, an absent board, versions, and calls that the driver
// refuses.
#include "sim_fixture.h"

namespace {

using SimConnectionTest = SimBoardTest;

TEST_F(SimConnectionTest, OpenSucceedsAfterTheSetNumberOfFailures)
{
    AXB_CloseDrv();
    AxbSim_SetOpenFailures(2);
    EXPECT_EQ(AXB_OpenDrv(), 0);
    EXPECT_EQ(AXB_OpenDrv(), 0);
    EXPECT_EQ(AXB_OpenDrv(), 1);
    EXPECT_EQ(AxbSim_IsDriverOpen(), 1);
}

TEST_F(SimConnectionTest, AbsentBoardNeverOpensAndAnswersNothing)
{
    AXB_CloseDrv();
    AxbSim_SetOpenFailures(-1);
    for (int attempt = 0; attempt < 10; ++attempt)
        EXPECT_EQ(AXB_OpenDrv(), 0);
    uint32_t value = 12345;
    EXPECT_EQ(AXB_GetParam(0, 58, &value), 0);
    EXPECT_EQ(value, 12345u);
    int32_t position = 7;
    EXPECT_EQ(AXB_GetAxisPosValue(0, 4, &position), 0);
    EXPECT_EQ(position, 7);
}

TEST_F(SimConnectionTest, ClosedDriverRefusesBoardCallsButKnowsItsVersion)
{
    EXPECT_EQ(AXB_CloseDrv(), 1);
    EXPECT_EQ(AXB_CloseDrv(), 0);
    EXPECT_EQ(AXB_SetParam(0, 22, 219), 0);
    EXPECT_EQ(AXB_SetAxisPosAbs(0, 0, 1000), 0);
    uint8_t b[4] = {};
    EXPECT_EQ(AXB_GetDllVersion(&b[0], &b[1], &b[2], &b[3]), 1);
    AXB_OpenDrv();
    EXPECT_EQ(Param(22), 0u);
}

TEST_F(SimConnectionTest, OnlyBoardZeroAndExistingIndexesAnswer)
{
    uint32_t value = 0;
    EXPECT_EQ(AXB_GetParam(1, 58, &value), 0);
    EXPECT_EQ(AXB_GetParam(0, 512, &value), 0);
    EXPECT_EQ(AXB_GetParam(0, -1, &value), 0);
    EXPECT_EQ(AXB_SetAxisPosAbs(0, 5, 1000), 0);
    EXPECT_EQ(AXB_ReadFlashWord(0, 256, &value), 0);
    int32_t count = 0;
    EXPECT_EQ(AXB_GetLatchReg(0, 0, 4, &count), 0);
    EXPECT_EQ(AXB_GetParam(0, 58, nullptr), 1) << "a null out-parameter is skipped";
}

TEST_F(SimConnectionTest, VersionsComeAsTheProgramReadsThem)
{
    AxbSim_SetFirmwareVersion(0x02050103);
    AxbSim_SetDllVersion(0x04020011);
    AxbSim_SetOeVersion(10);
    AxbSim_SetSerialNumber(0xABCDEF);
    uint8_t f[4] = {}, d[4] = {}, oe = 0;
    uint32_t serial = 0;
    AXB_GetFirmwareVersion(0, &f[0], &f[1], &f[2], &f[3]);
    AXB_GetDllVersion(&d[0], &d[1], &d[2], &d[3]);
    AXB_GetOeVersion(0, &oe);
    AXB_GetSerialNumber(0, &serial);
    EXPECT_EQ((std::array<uint8_t, 4>{f[0], f[1], f[2], f[3]}), (std::array<uint8_t, 4>{2, 5, 1, 3}));
    EXPECT_EQ((std::array<uint8_t, 4>{d[0], d[1], d[2], d[3]}), (std::array<uint8_t, 4>{4, 2, 0, 17}));
    EXPECT_EQ(oe, 10);
    EXPECT_EQ(serial, 0xABCDEFu);
}

TEST_F(SimConnectionTest, InjectedFaultsStayUntilTheProgramClearsThem)
{
    AxbSim_SetErrorByte(1, 0x02);
    AxbSim_SetAxisStatus(0, 0x38);
    AxbSim_SetSystemStatus(0x04);
    uint32_t system = 0;
    AXB_GetSystemStatus(0, &system);
    EXPECT_EQ(system, 0x04u);
    EXPECT_EQ(ErrorByte(1), 0x02);

    AXB_ResetAxisError(0, 1, 0);
    EXPECT_EQ(ErrorByte(1), 0);
    AXB_ClearEncoderErrors(0, 0x01);
    uint16_t status = 0;
    AXB_GetAxisStatus(0, 0, &status);
    EXPECT_EQ(status, 0x20) << "encoder bits 3 and 4 cleared, latch bit 5 kept";
    AXB_ClearLatchStatus(0, 0x01);
    AXB_GetAxisStatus(0, 0, &status);
    EXPECT_EQ(status, 0);

    AxbSim_PowerCycle();
    AXB_OpenDrv();
    AXB_GetSystemStatus(0, &system);
    EXPECT_EQ(system, 0u) << "a power cycle clears injected faults";
}

} // namespace
