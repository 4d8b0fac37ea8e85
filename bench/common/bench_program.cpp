#include "bench/common/bench_program.h"

#include "app/main_window.h"
#include "core/flash_items.h"
#include "driver/axb400.h"
#include "infra/clock.h"
#include "infra/cost_meter.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

std::filesystem::path StateFile() { return std::filesystem::temp_directory_path() / L"stagetune_bench.state"; }

struct SimFlash final : FlashWords {
    uint32_t Read(int index) override { return AxbSim_PeekFlashWord(index); }
    void Write(int index, uint32_t word) override { AxbSim_PokeFlashWord(index, word); }
};

class BenchClock final : public ClockSource {
public:
    uint64_t Now64() override { return now_; }
    void Sleep(uint32_t ms) override { Advance(ms); }
    void StartTimer(HWND, UINT_PTR, UINT) override {}
    void StopTimer(HWND, UINT_PTR) override {}
    void Advance(uint32_t ms)
    {
        now_ += ms;
        AxbSim_SetTimeMs(now_);
    }

private:
    uint64_t now_ = 1'000'000;
};

BenchClock g_clock;

// One driver call, as the ticks make dozens of them.
double DriverCallMicroseconds()
{
    return MicrosecondsPerCall(
        [] {
            uint8_t moveStatus = 0, errorByte = 0;
            AXB_GetMoveStatus(0, 0, &moveStatus, &errorByte);
        },
        5000);
}

} // namespace

HWND StartBenchProgram()
{
    AxbSim_SetStateFile(StateFile().c_str());
    AxbSim_Reset();
    AxbSim_UseVirtualTime(1);
    AxbSim_SetTimeMs(g_clock.Now64());
    InstallClock(&g_clock);
    SimFlash flash;
    WriteAllFlashItems(flash);   // the compiled-in defaults: a commissioned board
    HWND main = CreateMainWindow(GetModuleHandleW(nullptr));
    if (!main) {
        std::printf("the main window could not be created\n");
        std::exit(1);
    }
    return main;
}

void StopBenchProgram(HWND main)
{
    DestroyWindow(main);
    InstallClock(nullptr);
    AxbSim_UseVirtualTime(0);
    std::error_code ignored;
    std::filesystem::remove(StateFile(), ignored);
}

void AdvanceBenchClock(uint32_t ms) { g_clock.Advance(ms); }

void MoveXAndYThroughout()
{
    for (int axis = 0; axis < 2; ++axis)
        AxbSim_SetTravel(axis, -2'000'000'000, 2'000'000'000);
    AXB_SetVelocityPercent(0, 0, 1000);
    AXB_SetVelocityPercent(0, 1, 1000);
    AXB_SetAxisPosAbs(0, 0, 5000000);
    AXB_SetAxisPosAbs(0, 1, 4000000);
}

double MicrosecondsPerCall(const std::function<void()>& work, int count)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < count; ++i)
        work();
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart) / count;
}

TickCost MeasureTicks(const std::function<void()>& work, int count, uint32_t periodMs)
{
    const double callUs = DriverCallMicroseconds();
    const CostSpent control = Snapshot(g_controlWriteCost);
    const CostSpent log = Snapshot(g_logWriteCost);
    const CostSpent locks = Snapshot(g_lockCost);
    const int callsBefore = AxbSim_GetCallCount();
    TickCost cost;
    cost.totalUs = MicrosecondsPerCall(
        [&work, periodMs] {
            AdvanceBenchClock(periodMs);
            work();
        },
        count);
    cost.callsPerTick = static_cast<double>(AxbSim_GetCallCount() - callsBefore) / count;
    AxbSim_ClearCallLog();   // the log of calls would only grow
    cost.boardUs = cost.callsPerTick * callUs;
    const CostSpent controlSpent = Snapshot(g_controlWriteCost) - control;
    const CostSpent locksSpent = Snapshot(g_lockCost) - locks;
    cost.controlUs = Microseconds(controlSpent) / count;
    cost.logUs = Microseconds(Snapshot(g_logWriteCost) - log) / count;
    cost.lockUs = Microseconds(locksSpent) / count;
    cost.controlWritesPerTick = static_cast<double>(controlSpent.calls) / count;
    cost.lockCallsPerTick = static_cast<double>(locksSpent.calls) / count;
    return cost;
}

double ReportTicks(const char* what, const std::function<void()>& work, int count, double periodMs)
{
    std::vector<TickCost> runs;
    for (int run = 1; run <= 5; ++run) {
        runs.push_back(MeasureTicks(work, count, static_cast<uint32_t>(periodMs)));
        std::printf("  %s, run %d: %.1f us per tick\n", what, run, runs.back().totalUs);
    }
    std::vector<TickCost> sorted = runs;
    std::sort(sorted.begin(), sorted.end(), [](const TickCost& a, const TickCost& b) { return a.totalUs < b.totalUs; });
    const TickCost& best = sorted.front();
    const TickCost& median = sorted[sorted.size() / 2];
    const double period = periodMs * 1000.0;
    std::printf("%s: best %.1f us (%.2f%% of %.0f ms), median %.1f us (%.2f%%)\n", what, best.totalUs,
                100.0 * best.totalUs / period, periodMs, median.totalUs, 100.0 * median.totalUs / period);
    std::printf("  median run: board reads %.1f us (%.1f calls), board and zoom locks %.1f us (%.1f waits and "
                "releases), computations %.1f us, control writes %.1f us (%.2f a tick), log writes %.1f us\n",
                median.boardUs, median.callsPerTick, median.lockUs, median.lockCallsPerTick, median.computeUs(),
                median.controlUs, median.controlWritesPerTick, median.logUs);
    return best.totalUs;
}
