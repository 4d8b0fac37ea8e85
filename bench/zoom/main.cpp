// Cost of one tick of the zoom timer while the zoom homes (a driver-call
// heavy tick: the move-status poll of all axes, the readiness check and the
// step of the sequence), and of an idle tick, on the simulated board.
#include "bench/common/bench_program.h"
#include "sim/board/axbsim.h"
#include "zoom/zoom.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kTicks = 2000;

void HomingTick()
{
    // The sequence may finish during a run: start it again so that every
    // measured tick is a homing tick.
    if (g_zoomState == kZoomInactive || g_zoomState == kZoomMoving) {
        AxbSim_PlaceAxis(4, 50000);
        ZoomHomeServo();
    }
    ZoomTimer();
}

double MeasureHomingTicks()
{
    std::printf("zoom timer tick while homing, %d ticks per run\n", kTicks);
    double best = 1e9;
    for (int run = 1; run <= 5; ++run) {
        const double us = MicrosecondsPerCall(HomingTick, kTicks);
        best = std::min(best, us);
        std::printf("  run %d: %.1f us per tick\n", run, us);
    }
    g_zoomLogLevel = 5;
    std::printf("  with a data line per tick (log level 5, no viewer): %.1f us per tick\n",
                MicrosecondsPerCall(HomingTick, kTicks));
    g_zoomLogLevel = 0;
    return best;
}

void MeasureIdleTicks()
{
    g_zoomState = kZoomInactive;
    std::printf("  idle zoom: %.1f us per tick\n", MicrosecondsPerCall(ZoomTimer, kTicks));
}

} // namespace

int main()
{
    HWND main = StartBenchProgram();
    if (main) {
        const double best = MeasureHomingTicks();
        MeasureIdleTicks();
        std::printf("best homing tick: %.1f us (%.2f%% of the 10 ms period)\n", best, best / 100.0);
        StopBenchProgram(main);
        return 0;
    }
    std::printf("the main window could not be created\n");
    return 1;
}
