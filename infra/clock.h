#pragma once
// Every tick count, sleep and window timer of the program goes through here,
// so tests can put the whole program (and the simulated board) on a virtual
// clock and run 10 ms timers, 200 ms retries and long waits deterministically.
#include <windows.h>
#include <cstdint>

class ClockSource {
public:
    virtual ~ClockSource() = default;
    virtual uint64_t Now64() = 0;
    virtual void Sleep(uint32_t ms) = 0;
    virtual void StartTimer(HWND wnd, UINT_PTR id, UINT periodMs) = 0;
    virtual void StopTimer(HWND wnd, UINT_PTR id) = 0;
};

// nullptr restores the real clock.
void InstallClock(ClockSource* source);

uint32_t NowMs();
uint64_t NowMs64();
void SleepMs(uint32_t ms);
void StartTimer(HWND wnd, UINT_PTR id, UINT periodMs);
void StopTimer(HWND wnd, UINT_PTR id);
