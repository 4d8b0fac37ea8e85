#include "infra/cost_meter.h"

#include <windows.h>

CostMeter g_controlWriteCost;
CostMeter g_logWriteCost;
CostMeter g_lockCost;

namespace {

int64_t CounterNow()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

} // namespace

MeteredScope::MeteredScope(CostMeter& meter) : meter_(meter), start_(CounterNow()) {}

MeteredScope::~MeteredScope()
{
    meter_.calls.fetch_add(1, std::memory_order_relaxed);
    meter_.counterTicks.fetch_add(CounterNow() - start_, std::memory_order_relaxed);
}

CostSpent Snapshot(const CostMeter& meter) { return {meter.calls.load(), meter.counterTicks.load()}; }

CostSpent operator-(const CostSpent& after, const CostSpent& before)
{
    return {after.calls - before.calls, after.counterTicks - before.counterTicks};
}

double Microseconds(const CostSpent& spent)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(spent.counterTicks) * 1e6 / static_cast<double>(frequency.QuadPart);
}
