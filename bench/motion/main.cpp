// Cost of one goto monitor tick of the Multi Axis Goto window (period
// 1000 ms) with X, Y, Z and Q moving in a continuous run, and of one tick of
// the Circular goto window (period 10 ms) while the board runs a circle.
#include "bench/common/bench_program.h"
#include "core/goto_sequence.h"
#include "driver/axb400.h"
#include "motion/circular_goto.h"
#include "motion/goto_monitor.h"
#include "motion/multi_axis_goto.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kTicks = 2000;
constexpr int kRuns = 5;

double Best(const char* what, const std::function<void()>& tick)
{
    double best = 1e9;
    for (int run = 1; run <= kRuns; ++run) {
        const double us = MicrosecondsPerCall(tick, kTicks);
        best = std::min(best, us);
        std::printf("  %s, run %d: %.1f us per tick\n", what, run, us);
    }
    return best;
}

} // namespace

int main()
{
    HWND main = StartBenchProgram();
    if (!main) {
        std::printf("the main window could not be created\n");
        return 1;
    }
    HWND multi = OpenMultiAxisGoto();
    HWND circular = OpenCircularGoto();
    if (!multi || !circular) {
        std::printf("the goto windows could not be created\n");
        return 1;
    }
    std::printf("goto monitor, %d ticks per run, best of %d runs\n", kTicks, kRuns);

    // A long leg of all four axes at 5 %: they stay on their way throughout.
    SendLeg({300000, 200000, -120000, 90000}, 500);
    g_multiGotoRunning = 1;
    const double multiTick = Best("Multi Axis Goto, four axes moving",
                                  [multi] { GotoMonitorTick(multi, GotoWindowKind::kMultiAxis); });

    AXB_StopAxis(0, 0);
    g_multiGotoRunning = 0;
    AXB_SetAxisPosCircle(0, 20000, 0.0, 360.0, 0, 500, 0.0, 0.0);
    const double circularTick = Best("Circular goto, circle running",
                                     [circular] { GotoMonitorTick(circular, GotoWindowKind::kCircular); });

    std::printf("Multi Axis Goto tick: %.1f us (%.4f%% of its 1000 ms period)\n", multiTick, multiTick / 10000.0);
    std::printf("Circular goto tick: %.1f us (%.2f%% of its 10 ms period)\n", circularTick, circularTick / 100.0);
    ResetMultiAxisGoto();
    ResetCircularGoto();
    StopBenchProgram(main);
    return 0;
}
