// Following errors during a continuous run: those the board reports stop a
// Fixed run and give a Random run one retry at full speed per leg; those it
// does not report (a lag beyond the axis's own limit) are counted, the
// axis's history dumped once at the fifth tick and logged at the leg's end;
// a system error stops any run.
#include "core/goto_history.h"
#include "core/param_table.h"
#include "tests/motion/goto_fixture.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <regex>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class GotoErrors : public GotoBench {
protected:
    // X and Y on long moves at 50 %.
    void StartRun(bool random)
    {
        Target(0, L"100");
        Target(1, L"80");
        Type(IDC_MAG_VEL_PERCENT_X, L"50");
        if (random)
            ChooseRandomLegs();
        Click(IDC_MAG_CONT_GOTO);
        ASSERT_EQ(g_multiGotoRunning, 1);
    }
    // A slow X keeps the leg open for some ten seconds.
    void StartSlowRun()
    {
        Target(0, L"100");
        Type(IDC_MAG_VEL_PERCENT_X, L"10");
        Click(IDC_MAG_CONT_GOTO);
    }
    size_t Count(const std::string& prefix) { return LinesStartingWith({prefix}).size(); }
    // The recorded targets as the absolute counts of a linear move at full speed.
    static std::string RetryOf(const std::string& firstLeg)
    {
        int x, y, z, q, velocity;
        std::sscanf(firstLeg.c_str(), "AXB_SetAxisPosLin(0,%d,%d,%d,%d,%d)", &x, &y, &z, &q, &velocity);
        char retry[96];
        std::snprintf(retry, sizeof retry, "AXB_SetAxisPosLin(0,%d,%d,%d,%d,10000)=1", x, y, z, q);
        return retry;
    }
};

TEST_F(GotoErrors, ErrorsOtherThanAReportedLagInARandomRunStopTheRunWithoutARetry)
{
    struct Case {
        bool random;
        std::function<void()> fault;
        const char* stopLine;   // nullptr: not checked
    };
    const Case kCases[] = {
        {false, [] { AxbSim_InjectErrorByte(0, 0x02, 0); }, "Goto Stopped because axis 0 has error 2"},
        {true, [] { AxbSim_InjectErrorByte(0, 0x04, 0); }, nullptr},
        {true, [] { AxbSim_InjectErrorByte(0, 0x01, 0); }, nullptr},
        {true, [] { AxbSim_InjectErrorByte(0, 0x03, 0); }, nullptr},
        {false, [] { AxbSim_SetSystemStatus(0x04); }, "Goto Stopped because of system error error 4"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(&c - kCases);
        Forget();
        StartRun(c.random);
        c.fault();
        Tick();
        EXPECT_EQ(g_multiGotoRunning, 0);
        if (c.stopLine) {
            EXPECT_THAT(LinesStartingWith({"Goto Stopped"}), ElementsAre(c.stopLine));
        }
        EXPECT_EQ(Count("retry"), 0u);
        Tick(5);
        EXPECT_EQ(Legs().size(), 1u);
        Click(IDC_MAG_STOP);
    }
    EXPECT_EQ(Text(IDC_MAG_SYSTEM), "0x04");
}

TEST_F(GotoErrors, ARandomRunRetriesOnceAtFullSpeedThenStopsOnASecondError)
{
    StartRun(true);
    const std::string first = Legs()[0];
    AxbSim_InjectErrorByte(1, 0x02, 0);   // cleared by the next motion command
    Tick();
    // In this order: the stop, the axis's last 20 samples, the error, the retry.
    const auto lines = h.Log().Lines();
    ASSERT_GE(lines.size(), 24u);
    EXPECT_EQ(lines[0], "Goto Stopped because axis 1 has error 2");
    EXPECT_EQ(lines[1], "Logging past 20 lag values and pos values and target values");
    const std::regex sample(R"(lag,-?\d+,pos,-?\d+,target,-?\d+,status,\d+,error,\d+,time,\d+)");
    for (int i = 2; i < 22; ++i)
        EXPECT_TRUE(std::regex_match(lines[i], sample)) << lines[i];
    EXPECT_TRUE(std::regex_match(lines[22], std::regex("reported following error:axis,1,pos,-?\\d+,target," +
                                                      std::to_string(g_multiGotoTarget[1]) +
                                                      ",status,0[0-9A-F],error,02,lag,-?\\d+,sytem_status,00")))
        << lines[22];
    EXPECT_EQ(lines[23], "retry goto on axis 1");
    EXPECT_THAT(Legs(), ElementsAre(first, RetryOf(first)));
    EXPECT_EQ(g_multiGotoRunning, 1);

    Forget();
    AxbSim_InjectErrorByte(1, 0x02, 0);
    Tick();
    EXPECT_THAT(LinesStartingWith({"Goto Stopped"}), ElementsAre("Goto Stopped because axis 1 has error 2"));
    EXPECT_EQ(Count("retry"), 0u) << "one retry per leg";
    EXPECT_EQ(g_multiGotoRunning, 0);
}

TEST_F(GotoErrors, ARetryInTheFirstRandomLegSendsThisRunsTargets)
{
    StartRun(true);
    TickUntilLegs(3);
    Click(IDC_MAG_CONT_GOTO);   // the earlier run ends with its targets recorded
    Tick(10);
    AxbSim_ClearCallLog();
    Click(IDC_MAG_CONT_GOTO);
    ASSERT_EQ(Legs().size(), 1u);
    const std::string first = Legs()[0];
    AxbSim_InjectErrorByte(0, 0x02, 0);
    Tick();
    EXPECT_EQ(Count("retry goto on axis 0"), 1u);
    EXPECT_THAT(Legs(), ElementsAre(first, RetryOf(first)));
}

TEST_F(GotoErrors, UnreportedLagIsCountedDumpedOnceAtTheFifthTickAndLoggedAtTheLegsEnd)
{
    AxbSim_SetExtraLag(1, 600);   // beyond Y's 500, the board says nothing
    StartSlowRun();
    for (int tick = 1; tick <= 7; ++tick) {
        Tick();
        EXPECT_EQ(g_lagOverLimitCount[1], tick);
        EXPECT_EQ(Count("Logging past"), tick < 5 ? 0u : 1u) << "tick " << tick;
    }
    const auto lines = h.Log().Lines();
    const auto dump = std::find(lines.begin(), lines.end(), "Logging past 20 lag values and pos values and target values");
    ASSERT_GE(lines.end() - dump, 21);
    // Oldest first: fifteen empty samples, then the five ticks of this leg.
    for (int i = 1; i <= 15; ++i)
        EXPECT_EQ(dump[i], "lag,0,pos,0,target,0,status,0,error,0,time,0");
    // Y is at rest and ended, but its lag is outside the target window (bit 3).
    for (int i = 16; i <= 20; ++i)
        EXPECT_TRUE(std::regex_match(dump[i], std::regex(R"(lag,600,pos,-600,target,0,status,13,error,0,time,\d+)")))
            << dump[i];
    EXPECT_EQ(Count("Unreported"), 0u) << "not before the leg ends";

    TickUntilLegs(2);
    EXPECT_THAT(LinesStartingWith({"Unreported"}),
                ElementsAre("Unreported following error:axis,1,pos,-600,target,0,status,0D,error,00,lag,600,"
                            "sytem_status,00"));
    EXPECT_EQ(g_lagOverLimitCount[1], 0);
}

TEST_F(GotoErrors, EachAxisIsJudgedByItsOwnFollowingErrorLimit)
{
    for (const auto& [axis, limit] : {std::pair{0, 500u}, std::pair{2, 2000u}}) {
        g_param[AxisParam(66, axis)] = limit;
        AxbSim_PokeParam(AxisParam(66, axis), limit);
    }
    struct Case {
        int axis;
        int32_t extraLag;
        bool counted;
    };
    constexpr Case kCases[] = {
        {1, 800, true},    // Y: limit 500
        {2, 800, false},   // Z: limit 2000, though X's is 500
        {3, -501, true},   // Q: limit 500, lagging the other way
    };
    for (const Case& c : kCases)
        AxbSim_SetExtraLag(c.axis, c.extraLag);
    StartSlowRun();
    Tick(6);
    for (const Case& c : kCases)
        EXPECT_EQ(g_lagOverLimitCount[c.axis], c.counted ? 6 : 0) << "axis " << c.axis;
    EXPECT_EQ(Count("Logging past"), 2u);
    EXPECT_EQ(Legs().size(), 1u) << "X is still on its way";
}

} // namespace
