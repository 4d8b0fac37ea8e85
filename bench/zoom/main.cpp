// Cost of one tick of the zoom timer while the zoom homes (a driver-call
// heavy tick: the move-status poll, the readiness check and the step of the
// sequence), with a data line per tick, and at rest, on the simulated board.
#include "bench/common/bench_program.h"
#include "sim/board/axbsim.h"
#include "zoom/zoom.h"

#include <cstdio>

namespace {

constexpr int kTicks = 2000;

void HomingTick()
{
    // The sequence may finish (or time out) during a run: start it again so
    // that every measured tick is a homing tick.
    if (g_zoomState == kZoomInactive || g_zoomState == kZoomMoving || g_zoomTimerHalted) {
        AxbSim_PlaceAxis(4, 50000);
        ZoomHomeServo();
    }
    ZoomTimer();
}

void MeasureHomingTicks()
{
    std::printf("zoom timer tick while homing, %d ticks per run\n", kTicks);
    ReportTicks("zoom homing tick", HomingTick, kTicks);
    g_zoomLogLevel = 5;
    ReportTicks("zoom homing tick with a data line per tick (log level 5, no viewer)", HomingTick, kTicks);
    g_zoomLogLevel = 0;
    g_zoomState = kZoomInactive;
    ReportTicks("zoom tick at rest", ZoomTimer, kTicks);
}

} // namespace

int main()
{
    HWND main = StartBenchProgram();
    MeasureHomingTicks();
    StopBenchProgram(main);
    return 0;
}
