// Cost of one goto monitor tick of the Multi Axis Goto window (period
// 1000 ms) with X, Y, Z and Q moving in a continuous run, and of one tick of
// the Circular goto window (period 10 ms) while the board runs a circle.
#include "bench/common/bench_program.h"
#include "core/goto_sequence.h"
#include "driver/axb400.h"
#include "motion/circular_goto.h"
#include "motion/goto_monitor.h"
#include "motion/multi_axis_goto.h"
#include "sim/board/axbsim.h"

#include <cstdio>

namespace {

constexpr int kTicks = 2000;
constexpr int kMultiAxisTicks = 200;   // each a second of the board's time

} // namespace

int main()
{
    HWND main = StartBenchProgram();
    HWND multi = OpenMultiAxisGoto();
    HWND circular = OpenCircularGoto();
    if (!multi || !circular) {
        std::printf("the goto windows could not be created\n");
        return 1;
    }
    std::printf("goto monitor, %d Multi Axis Goto and %d Circular goto ticks per run\n", kMultiAxisTicks, kTicks);

    // A leg of all four axes at 5 % far beyond where the runs take them,
    // inside a travel wider still: they stay on their way throughout.
    for (int axis = 0; axis < 4; ++axis)
        AxbSim_SetTravel(axis, -2'000'000'000, 2'000'000'000);
    SendLeg({300000000, 200000000, -120000000, 90000000}, 500);
    g_multiGotoRunning = 1;
    ReportTicks("Multi Axis Goto tick, four axes moving",
                [multi] { GotoMonitorTick(multi, GotoWindowKind::kMultiAxis); }, kMultiAxisTicks, 1000.0);

    AXB_StopAxis(0, 0);
    g_multiGotoRunning = 0;
    AXB_SetAxisPosCircle(0, 20000, 0.0, 360.0, 0, 500, 0.0, 0.0);
    ReportTicks("Circular goto tick, circle running",
                [circular] { GotoMonitorTick(circular, GotoWindowKind::kCircular); }, kTicks);
    ResetMultiAxisGoto();
    ResetCircularGoto();
    StopBenchProgram(main);
    return 0;
}
