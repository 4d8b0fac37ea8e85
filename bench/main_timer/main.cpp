// Cost of one tick of the main window's 10 ms timer on the simulated board:
// at rest, with X and Y moving, and how many control texts a tick writes
// when nothing moves.
#include "app/main_timer.h"
#include "bench/common/bench_program.h"
#include "core/status_bits.h"
#include "driver/axb400.h"
#include "sim/board/axbsim.h"
#include "ui/control_text.h"

#include <cstdio>

int main()
{
    constexpr int kTicks = 2000;
    HWND main = StartBenchProgram();
    auto tick = [main] { OnMainTimer(main); };
    std::printf("main timer tick, %d ticks per run\n", kTicks);
    ReportTicks("main timer tick, board at rest", tick, kTicks);
    const uint64_t before = ControlTextWrites();
    for (int i = 0; i < 300; ++i) {
        AdvanceBenchClock(10);
        tick();
    }
    std::printf("  control writes in 300 ticks at rest: %llu\n",
                static_cast<unsigned long long>(ControlTextWrites() - before));

    MoveXAndYThroughout();
    ReportTicks("main timer tick, X and Y moving", tick, kTicks);
    uint8_t moveStatus = 0, errorByte = 0;
    AXB_GetMoveStatus(0, 0, &moveStatus, &errorByte);
    std::printf("  X at %d counts, %s\n", AxbSim_PeekPosition(0), (moveStatus & kMoveComplete) ? "at rest" : "still moving");
    StopBenchProgram(main);
    return 0;
}
