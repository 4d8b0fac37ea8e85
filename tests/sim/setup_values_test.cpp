// The board type, which only newer firmware reports.
#include "sim_fixture.h"

TEST_F(SimBoardTest, BoardTypeIsReportedFromFirmware0_2_2_0On)
{
    struct Case {
        uint32_t firmware;
        int result;
        uint32_t type;   // what the call leaves in a variable holding 77
    };
    constexpr Case kCases[] = {
        {0x00020100, 0, 77},
        {0x000201FF, 0, 77},
        {0x00020200, 1, 2},
        {0x02060703, 1, 2},
    };
    AxbSim_SetBoardType(2);
    for (const Case& c : kCases) {
        AxbSim_SetFirmwareVersion(c.firmware);
        uint32_t type = 77;
        EXPECT_EQ(AXB_GetBoardType(0, &type), c.result) << std::hex << c.firmware;
        EXPECT_EQ(type, c.type) << std::hex << c.firmware;
    }
}
