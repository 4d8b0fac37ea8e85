#pragma once
// What the system calls of a tick cost, for the benchmarks' breakdown of the
// 10 ms ticks: the time spent writing control texts and log lines and
// taking and giving back the named locks, and how often. Two reads of the
// performance counter per call; nothing else.
#include <atomic>
#include <cstdint>

// Any thread may log or take a lock: the sums are atomic.
struct CostMeter {
    std::atomic<uint64_t> calls{0};
    std::atomic<int64_t> counterTicks{0};   // of QueryPerformanceCounter
};

// The meter's sums at one moment, and what was spent between two of them.
struct CostSpent {
    uint64_t calls = 0;
    int64_t counterTicks = 0;
};
CostSpent Snapshot(const CostMeter& meter);
CostSpent operator-(const CostSpent& after, const CostSpent& before);

extern CostMeter g_controlWriteCost;
extern CostMeter g_logWriteCost;
extern CostMeter g_lockCost;   // waits for and releases of a named mutex

// Adds the time from construction to destruction to the meter.
class MeteredScope {
public:
    explicit MeteredScope(CostMeter& meter);
    ~MeteredScope();
    MeteredScope(const MeteredScope&) = delete;
    MeteredScope& operator=(const MeteredScope&) = delete;

private:
    CostMeter& meter_;
    int64_t start_;
};

double Microseconds(const CostSpent& spent);
