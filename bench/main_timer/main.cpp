// Cost of one tick of the main window's 10 ms timer on the simulated board,
// and how many control texts a tick writes when nothing moves.
#include "app/main_timer.h"
#include "app/main_window.h"
#include "driver/axb400.h"
#include "infra/control_text.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {

constexpr int kTicks = 2000;
constexpr int kRuns = 5;

double TickMicroseconds(HWND main)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kTicks; ++i)
        OnMainTimer(main);
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart) / kTicks;
}

} // namespace

int main()
{
    auto state = std::filesystem::temp_directory_path() / L"bench_main_timer.state";
    AxbSim_SetStateFile(state.c_str());
    AxbSim_Reset();
    HWND main = CreateMainWindow(GetModuleHandleW(nullptr));
    if (!main) {
        std::printf("the main window could not be created\n");
        return 1;
    }
    KillTimer(main, IDT_MAIN);   // ticks are driven here, one after another

    std::printf("main timer tick, %d ticks per run, board at rest\n", kTicks);
    double best = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        double us = TickMicroseconds(main);
        best = std::min(best, us);
        std::printf("  run %d: %.1f us per tick\n", run + 1, us);
    }
    const uint64_t before = ControlTextWrites();
    for (int i = 0; i < 300; ++i)
        OnMainTimer(main);
    std::printf("  control writes in 300 idle ticks: %llu\n",
                static_cast<unsigned long long>(ControlTextWrites() - before));

    AXB_SetAxisPosAbs(0, 0, 200000);
    AXB_SetAxisPosAbs(0, 1, 150000);
    double moving = TickMicroseconds(main);
    std::printf("  X and Y moving: %.1f us per tick\n", moving);
    std::printf("best idle tick: %.1f us (%.1f%% of the 10 ms period)\n", best, best / 100.0);

    DestroyWindow(main);
    std::filesystem::remove(state);
    return 0;
}
