// Cost of one tick of the main window's 10 ms timer on the simulated board,
// and how many control texts a tick writes when nothing moves.
#include "app/main_timer.h"
#include "bench/common/bench_program.h"
#include "driver/axb400.h"
#include "ui/control_text.h"

#include <algorithm>
#include <cstdio>

int main()
{
    constexpr int kTicks = 2000;
    HWND main = StartBenchProgram();
    if (!main) {
        std::printf("the main window could not be created\n");
        return 1;
    }
    auto tick = [main] { OnMainTimer(main); };
    std::printf("main timer tick, %d ticks per run, board at rest\n", kTicks);
    double best = 1e9;
    for (int run = 1; run <= 5; ++run) {
        double us = MicrosecondsPerCall(tick, kTicks);
        best = std::min(best, us);
        std::printf("  run %d: %.1f us per tick\n", run, us);
    }
    const uint64_t before = ControlTextWrites();
    for (int i = 0; i < 300; ++i)
        tick();
    std::printf("  control writes in 300 idle ticks: %llu\n",
                static_cast<unsigned long long>(ControlTextWrites() - before));

    AXB_SetAxisPosAbs(0, 0, 200000);
    AXB_SetAxisPosAbs(0, 1, 150000);
    std::printf("  X and Y moving: %.1f us per tick\n", MicrosecondsPerCall(tick, kTicks));
    std::printf("best idle tick: %.1f us (%.1f%% of the 10 ms period)\n", best, best / 100.0);
    StopBenchProgram(main);
    return 0;
}
