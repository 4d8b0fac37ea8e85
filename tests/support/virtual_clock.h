#pragma once
// A clock that only moves when a test says so. It drives the program's tick
// counts and sleeps, fires the window timers the program started, and keeps
// the simulated board on the same time.
#include "infra/clock.h"

#include <map>
#include <utility>

class VirtualClock final : public ClockSource {
public:
    explicit VirtualClock(uint64_t startMs = 1'000'000);
    ~VirtualClock() override;
    VirtualClock(const VirtualClock&) = delete;
    VirtualClock& operator=(const VirtualClock&) = delete;

    uint64_t Now64() override { return now_; }
    // A sleeping GUI thread handles no messages: time passes, no timer fires.
    void Sleep(uint32_t ms) override;
    void StartTimer(HWND wnd, UINT_PTR id, UINT periodMs) override;
    void StopTimer(HWND wnd, UINT_PTR id) override;

    // Lets ms pass: every due timer fires in time order (WM_TIMER sent to its
    // window), and the messages the program posts are handled in between.
    void Advance(uint32_t ms);
    // Lets ms pass as on a machine too busy to answer its timers: each timer
    // then fires once, at the next Advance, as Windows folds the periods
    // it missed into one message.
    void Skip(uint32_t ms);
    // The period of a running timer, 0 when it is not running.
    UINT TimerPeriod(HWND wnd, UINT_PTR id) const;
    uint64_t SleptMs() const { return slept_; }

private:
    struct Timer {
        UINT period;
        uint64_t due;
    };
    void SetNow(uint64_t ms);

    uint64_t now_;
    uint64_t slept_ = 0;
    std::map<std::pair<HWND, UINT_PTR>, Timer> timers_;
};
