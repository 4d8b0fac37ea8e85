// What the multi-axis and circular goto tests need from the board: the
// coordinated linear move, the circle, the board's following-error stop,
// injected error bytes and extra lag. Factory machine: X and Y 100 mm/s,
// 500 mm/s²; Z and Q 50 mm/s, 300 mm/s²; 1000 counts/mm; P066 = 500 counts.
#include "sim_fixture.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr int kY = 1, kZ = 2, kQ = 3;
constexpr uint8_t kEnded = 0x01, kFollowingError = 0x02, kNotInPosition = 0x08;

struct CircleCase {
    const char* name;
    double pitch, yaw;
    double startDeg, sweepDeg;
    int32_t radius, feed;
};

class SimGotoTest : public SimBoardTest {
protected:
    // Samples the nominal X, Y, Z every millisecond of the move.
    static std::vector<std::array<double, 3>> RunCircle(const CircleCase& c)
    {
        EXPECT_EQ(AXB_SetAxisPosCircle(0, c.radius, c.startDeg, c.sweepDeg, c.feed, 10000, c.pitch, c.yaw), 1);
        std::vector<std::array<double, 3>> points;
        for (int ms = 0; ms < 5000 && !(MoveStatus(kX) & MoveStatus(kY) & MoveStatus(kZ) & kEnded); ++ms) {
            AxbSim_AdvanceTimeMs(1);
            points.push_back({static_cast<double>(Nominal(kX)), static_cast<double>(Nominal(kY)),
                              static_cast<double>(Nominal(kZ))});
        }
        return points;
    }
};

TEST_F(SimGotoTest, LinearMoveRunsAllFourAxesOnOneLineAndEndsThemTogether)
{
    // X needs the longest: 100000 counts at 100000 counts/s and 500000
    // counts/s² take 1.2 s; the others are scaled to the same profile.
    constexpr std::array<int32_t, 4> kGoal = {100000, 50000, -30000, 20000};
    ASSERT_EQ(AXB_SetAxisPosLin(0, kGoal[0], kGoal[1], kGoal[2], kGoal[3], 10000), 1);
    std::array<uint32_t, 4> endMs{};
    for (uint32_t ms = 1; ms <= 1300; ++ms) {
        AxbSim_AdvanceTimeMs(1);
        const double fraction = Nominal(kX) / static_cast<double>(kGoal[0]);
        for (int a = 0; a < 4; ++a) {
            EXPECT_NEAR(Nominal(a), fraction * kGoal[a], 1.0) << "axis " << a << " at " << ms << " ms";
            if (endMs[a] == 0 && (MoveStatus(a) & kEnded))
                endMs[a] = ms;
        }
    }
    EXPECT_EQ(endMs, (std::array<uint32_t, 4>{1200, 1200, 1200, 1200}));
    for (int a = 0; a < 4; ++a)
        EXPECT_EQ(Settled(a), kGoal[a]);

    // Back at its own half speed, not the axis's velocity percent: 0.1 s up,
    // 0.9 s at 50000 counts/s, 0.1 s down.
    AXB_SetVelocityPercent(0, kX, 2000);
    AXB_SetAxisPosLin(0, 50000, kGoal[1], kGoal[2], kGoal[3], 5000);
    EXPECT_EQ(MsUntilEnded(kX, 2000), 1100u);
    EXPECT_EQ(Settled(kX), 50000);
}

TEST_F(SimGotoTest, CirclePointsLieOnTheCommandedCircleInTheTiltedPlane)
{
    // The plane is the X-Y plane turned by the pitch about X, then by the
    // yaw about Z; the move starts where the axes stand and the feed runs
    // along the plane's normal.
    constexpr CircleCase kCases[] = {
        {"flat full circle", 0, 0, 0, 360, 10000, 0},
        {"flat half circle backwards from 90 degrees", 0, 0, 90, -180, 20000, 0},
        {"tilted", 30, 45, 0, 270, 15000, 0},
        {"helix", 0, 0, 0, 360, 10000, 5000},
        {"negative radius", 0, 0, 0, 180, -10000, 0},
    };
    constexpr double kRad = std::numbers::pi / 180;
    for (const CircleCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const double p = c.pitch * kRad, y = c.yaw * kRad, a0 = c.startDeg * kRad;
        // u = Rz(yaw) Rx(pitch) (1,0,0), v = ... (0,1,0), n = ... (0,0,1)
        const std::array<double, 3> u = {std::cos(y), std::sin(y), 0};
        const std::array<double, 3> v = {-std::sin(y) * std::cos(p), std::cos(y) * std::cos(p), std::sin(p)};
        const std::array<double, 3> n = {std::sin(y) * std::sin(p), -std::cos(y) * std::sin(p), std::cos(p)};
        const std::array<int32_t, 3> start = {100000, 100000, -50000};
        std::array<double, 3> centre{};
        for (int i = 0; i < 3; ++i) {
            AxbSim_PlaceAxis(i, start[i]);
            centre[i] = start[i] - c.radius * (std::cos(a0) * u[i] + std::sin(a0) * v[i]);
        }

        const auto points = RunCircle(c);
        ASSERT_GT(points.size(), 100u);
        const double length = std::hypot(c.radius * c.sweepDeg * kRad, c.feed);
        double travelled = 0;
        for (size_t k = 0; k < points.size(); ++k) {
            const auto& q = points[k];
            const double along = (q[0] - centre[0]) * n[0] + (q[1] - centre[1]) * n[1] + (q[2] - centre[2]) * n[2];
            const double r = std::hypot(q[0] - centre[0] - along * n[0], q[1] - centre[1] - along * n[1],
                                        q[2] - centre[2] - along * n[2]);
            EXPECT_NEAR(r, std::abs(c.radius), 1.5) << "at " << k + 1 << " ms";
            EXPECT_GE(along, -1.0);
            EXPECT_LE(along, c.feed + 1.0);
            if (k > 0)
                travelled += std::hypot(q[0] - points[k - 1][0], q[1] - points[k - 1][1], q[2] - points[k - 1][2]);
        }
        EXPECT_NEAR(travelled, length, length * 0.002);
        // The end is the point at start + sweep, fed by the whole feed.
        const double a1 = (c.startDeg + c.sweepDeg) * kRad;
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(points.back()[i],
                        centre[i] + c.radius * (std::cos(a1) * u[i] + std::sin(a1) * v[i]) + c.feed * n[i], 1.0);
    }
}

TEST_F(SimGotoTest, FlatCircleRunsAtTheSlowestAxisSpeedAndIsRefusedBeyondTheTravel)
{
    // Z is the slowest of X, Y, Z: 50000 counts/s, 300000 counts/s²; a full
    // circle of 10000 counts is 62832 counts long: 1/6 s up, 1/6 s down and
    // 1.08997 s at speed, 1423.3 ms in all.
    AxbSim_PlaceAxis(kX, 100000);
    AxbSim_PlaceAxis(kY, 100000);
    const auto points = RunCircle({"timing", 0, 0, 0, 360, 10000, 0});
    EXPECT_EQ(points.size(), 1424u) << "the first millisecond after the end";

    AxbSim_PlaceAxis(kY, 245000); // the top of the circle would be at 255000
    EXPECT_EQ(AXB_SetAxisPosCircle(0, 10000, 0, 90, 0, 10000, 0, 0), 0);
    AxbSim_AdvanceTimeMs(10);
    EXPECT_EQ(Position(kY), 245000) << "nothing moves";
}

TEST_F(SimGotoTest, LagOverTheLimitStopsTheAxisWithAFollowingErrorUntilTheNextCommand)
{
    // Starting at 500000 counts/s² the lag grows as 0.0005 s times the
    // velocity plus 10 counts, the servo's first swing a little more: it
    // passes 30 counts after 79.6 ms, at 1586 counts nominal, 1556 actual.
    AxbSim_PokeParam(66, 30);
    AXB_SetAxisPosAbs(0, kX, 100000);
    AxbSim_AdvanceTimeMs(79);
    EXPECT_EQ(ErrorByte(kX), 0);
    EXPECT_EQ(MoveStatus(kX) & kEnded, 0);
    AxbSim_AdvanceTimeMs(2);
    EXPECT_EQ(ErrorByte(kX), kFollowingError);
    EXPECT_EQ(MoveStatus(kX) & kEnded, kEnded);
    EXPECT_NEAR(Position(kX), 1556, 1);
    AxbSim_AdvanceTimeMs(500);
    EXPECT_NEAR(Position(kX), 1556, 1) << "the board stopped the axis";
    EXPECT_EQ(Lag(kX), 0);
    EXPECT_EQ(ErrorByte(kX), kFollowingError) << "until the next command";

    // A circle on X, Y, Z is watched as well; P066 = 0 switches the stop off.
    AxbSim_PlaceAxis(kX, 100000);
    AxbSim_PlaceAxis(kY, 100000);
    AxbSim_PokeParam(106, 10);
    AxbSim_PokeParam(66, 0);
    AXB_SetAxisPosCircle(0, 10000, 0, 360, 0, 10000, 0, 0);
    AxbSim_AdvanceTimeMs(2000);
    EXPECT_EQ(ErrorByte(kX), 0);
    EXPECT_EQ(ErrorByte(kY), kFollowingError);
    EXPECT_EQ(MoveStatus(kX) & kEnded, kEnded);
    AXB_ResetAxisError(0, kY, 0);
    EXPECT_EQ(ErrorByte(kY), 0);
}

TEST_F(SimGotoTest, ExtraLagShowsInTheLagReadoutButRaisesNoError)
{
    AxbSim_SetExtraLag(kY, 800);
    AXB_SetAxisPosLin(0, 0, 100000, 0, 0, 10000);
    AxbSim_AdvanceTimeMs(600); // at full speed: 50 counts of the servo's own
    EXPECT_NEAR(Lag(kY), 850, 1);
    EXPECT_EQ(ErrorByte(kY), 0);
    EXPECT_EQ(Settled(kY), 100000 - 800);
    EXPECT_EQ(Lag(kY), 800);
    EXPECT_EQ(MoveStatus(kY) & (kEnded | kNotInPosition), kEnded | kNotInPosition);

    AxbSim_SetExtraLag(kY, 0);
    EXPECT_EQ(Lag(kY), 0);
    EXPECT_EQ(Position(kY), 100000);
}

TEST_F(SimGotoTest, InjectedErrorStopsTheAxisAndGoesWithTheNextCommandUnlessSticky)
{
    AXB_SetAxisPosLin(0, 100000, 100000, 0, 0, 10000);
    AxbSim_AdvanceTimeMs(600);
    AxbSim_InjectErrorByte(kY, kFollowingError, 0);
    EXPECT_EQ(ErrorByte(kY), kFollowingError);
    EXPECT_EQ(ErrorByte(kX), 0);
    // Y brakes from 100000 counts/s at 500000 counts/s²: 0.2 s, 10000 counts.
    EXPECT_EQ(MsUntilEnded(kY, 1000), 200u);
    EXPECT_EQ(Settled(kY), 60000);
    EXPECT_EQ(ErrorByte(kY), kFollowingError);

    AXB_SetAxisPosLin(0, 100000, 100000, 0, 0, 10000); // the retry
    EXPECT_EQ(ErrorByte(kY), 0);
    EXPECT_EQ(Settled(kY), 100000);

    AxbSim_InjectErrorByte(kQ, 0x04, 1);
    AxbSim_InjectErrorByte(kQ, kFollowingError, 0);
    AXB_SetAxisPosAbs(0, kQ, 1000);
    EXPECT_EQ(ErrorByte(kQ), 0x04) << "sticky bits stay";
    AXB_SeekHome(0, kQ);
    EXPECT_EQ(ErrorByte(kQ), 0x04);
    AXB_ResetAxisError(0, kQ, 0);
    EXPECT_EQ(ErrorByte(kQ), 0);
}

} // namespace
