// The touch probe of a described machine that taps every 500 ms: a hit
// latches where the axes were at that moment, is held until the re-arm, and
// a retract without speed is an error until then.
#include "sim_fixture.h"

namespace {

class SimProbeTest : public SimBoardTest {};

struct Latch {
    int32_t first[4], second[4];
    uint8_t status;
};

Latch ReadLatch()
{
    Latch l{};
    uint16_t flags[4] = {};
    EXPECT_EQ(AXB_GetTouchProbeLatch(0, 2, l.first, flags, l.second, &l.status), 1);
    return l;
}

TEST_F(SimProbeTest, DescribedTapsLatchTheMomentAndWaitForTheRearm)
{
    ASSERT_EQ(Describe("[Board]\nProbeHitEveryMs = 500\n[Params]\nP015 = 0 ; no retract speed\n"), 1);
    NewBoard();
    AXB_SetTouchProbe(0, 2);
    AXB_SetLatchMode(0, kX, 2, 6);
    AXB_SetAxisPosAbs(0, kX, 100000);   // 100 mm/s after 0.2 s at 500 mm/s²
    AxbSim_AdvanceTimeMs(700);
    const Latch hit = ReadLatch();
    EXPECT_EQ(hit.status, 4);
    EXPECT_NEAR(hit.second[kX], 40000, 2) << "the tap at 1500 ms, not the look at 1700 ms";
    EXPECT_EQ(hit.first[1], 0);
    EXPECT_EQ(Out<uint8_t>([](auto* v) { return AXB_GetProbeStatus(0, v); }), 2 | 8);
    AxbSim_AdvanceTimeMs(1000);
    EXPECT_EQ(ReadLatch().first[kX], hit.first[kX]) << "later taps are missed while one is held";
    ASSERT_EQ(AXB_RearmTouchProbe(0), 1);
    EXPECT_EQ(Out<uint8_t>([](auto* v) { return AXB_GetProbeStatus(0, v); }) | ReadLatch().status, 0);
    AxbSim_AdvanceTimeMs(500);
    EXPECT_EQ(ReadLatch().status, 4);
    EXPECT_EQ(ReadLatch().second[kX], 100000);
}

} // namespace
