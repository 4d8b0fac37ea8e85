// The board type, which only newer firmware reports.
#include "sim_fixture.h"

#include <tuple>

TEST_F(SimBoardTest, BoardTypeIsReportedFromFirmware0_2_2_0On)
{
    // The result, and what the call leaves in a variable holding 77.
    const std::tuple<uint32_t, int, uint32_t> kCases[] = {{0x000201FF, 0, 77}, {0x00020200, 1, 2}};
    AxbSim_SetBoardType(2);
    for (const auto& [firmware, result, type] : kCases) {
        AxbSim_SetFirmwareVersion(firmware);
        uint32_t read = 77;
        EXPECT_EQ(AXB_GetBoardType(0, &read), result) << std::hex << firmware;
        EXPECT_EQ(read, type) << std::hex << firmware;
    }
}
