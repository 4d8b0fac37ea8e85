#include "sim_clock.h"

#include <windows.h>

uint64_t SimClock::RealUs()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    const uint64_t ticks = static_cast<uint64_t>(counter.QuadPart);
    const uint64_t perSecond = static_cast<uint64_t>(frequency.QuadPart);
    return ticks / perSecond * 1000000 + ticks % perSecond * 1000000 / perSecond;
}

uint64_t SimClock::NowUs() const
{
    return virtual_ ? virtualUs_ : RealUs() + static_cast<uint64_t>(realOffsetUs_);
}

void SimClock::UseVirtual(bool on)
{
    if (on == virtual_)
        return;
    if (on)
        virtualUs_ = NowUs();
    else
        realOffsetUs_ = static_cast<int64_t>(virtualUs_ - RealUs());
    virtual_ = on;
}

void SimClock::SetMs(uint64_t ms)
{
    virtual_ = true;
    virtualUs_ = ms * 1000;
}

void SimClock::AdvanceMs(uint32_t ms)
{
    UseVirtual(true);
    virtualUs_ += uint64_t{ms} * 1000;
}
