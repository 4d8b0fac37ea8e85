#include "tests/support/virtual_clock.h"

#include "sim/board/axbsim.h"
#include "tests/support/ui_driver.h"

VirtualClock::VirtualClock(uint64_t startMs) : now_(startMs)
{
    AxbSim_UseVirtualTime(1);
    AxbSim_SetTimeMs(now_);
    InstallClock(this);
}

VirtualClock::~VirtualClock()
{
    InstallClock(nullptr);
    AxbSim_UseVirtualTime(0);
}

void VirtualClock::SetNow(uint64_t ms)
{
    now_ = ms;
    AxbSim_SetTimeMs(now_);
}

void VirtualClock::Sleep(uint32_t ms)
{
    slept_ += ms;
    SetNow(now_ + ms);
}

void VirtualClock::Skip(uint32_t ms)
{
    SetNow(now_ + ms);
    for (auto& [key, timer] : timers_)
        if (timer.due < now_)
            timer.due = now_;
}

void VirtualClock::StartTimer(HWND wnd, UINT_PTR id, UINT periodMs)
{
    // As with SetTimer, restarting a running timer resets its period.
    timers_[{wnd, id}] = Timer{periodMs, now_ + periodMs};
}

void VirtualClock::StopTimer(HWND wnd, UINT_PTR id)
{
    timers_.erase({wnd, id});
}

UINT VirtualClock::TimerPeriod(HWND wnd, UINT_PTR id) const
{
    auto it = timers_.find({wnd, id});
    return it == timers_.end() ? 0 : it->second.period;
}

void VirtualClock::Advance(uint32_t ms)
{
    const uint64_t end = now_ + ms;
    PumpMessages();
    for (;;) {
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it)
            if (it->second.due <= end && (next == timers_.end() || it->second.due < next->second.due))
                next = it;
        if (next == timers_.end())
            break;
        auto [wnd, id] = next->first;
        SetNow(std::max(now_, next->second.due));
        next->second.due += next->second.period ? next->second.period : 1;
        if (!IsWindow(wnd)) {
            timers_.erase(next);
            continue;
        }
        SendMessageW(wnd, WM_TIMER, id, 0);
        PumpMessages();
    }
    SetNow(std::max(now_, end));
    PumpMessages();
}
