#pragma once
// The program's main window on a fresh simulated board whose flash holds a
// valid record, as a benchmark needs it: no prompts, its timer stopped so the
// benchmark drives the work itself, and a clock of the benchmark's own that
// moves 10 ms from one tick to the next, as the program's timer would,
// while the board moves its axes by the same time.
#include <windows.h>

#include <cstdint>
#include <functional>

// A window that cannot be created ends the benchmark, exit code 1, saying so.
HWND StartBenchProgram();
void StopBenchProgram(HWND main);

// Far targets at 10 % inside a travel wider than they are: X and Y move
// throughout every run of a benchmark.
void MoveXAndYThroughout();

// Lets the program's clock and the board's time move on.
void AdvanceBenchClock(uint32_t ms);

// Wall-clock microseconds per call of work, over count calls.
double MicrosecondsPerCall(const std::function<void()>& work, int count);

// Where a tick's time goes: the driver calls (their number times what one
// costs), the named locks taken, the control texts written, the log lines
// written, and the rest, the program's own computations.
struct TickCost {
    double totalUs = 0;
    double boardUs = 0;
    double controlUs = 0;
    double logUs = 0;
    double lockUs = 0;
    double callsPerTick = 0;
    double controlWritesPerTick = 0;
    double lockCallsPerTick = 0;
    double computeUs() const { return totalUs - boardUs - lockUs - controlUs - logUs; }
};

// count ticks of work, each periodMs of the clock after the one before.
TickCost MeasureTicks(const std::function<void()>& work, int count, uint32_t periodMs);
// Five runs of MeasureTicks, each printed; then the best and the median, the
// median run's breakdown, and the share of periodMs. Returns the best.
double ReportTicks(const char* what, const std::function<void()>& work, int count, double periodMs = 10.0);
