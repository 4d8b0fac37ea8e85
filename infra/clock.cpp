#include "infra/clock.h"

namespace {

class RealClock final : public ClockSource {
public:
    uint64_t Now64() override { return GetTickCount64(); }
    void Sleep(uint32_t ms) override { ::Sleep(ms); }
    void StartTimer(HWND wnd, UINT_PTR id, UINT periodMs) override { ::SetTimer(wnd, id, periodMs, nullptr); }
    void StopTimer(HWND wnd, UINT_PTR id) override { ::KillTimer(wnd, id); }
};

RealClock g_realClock;
ClockSource* g_clock = &g_realClock;

} // namespace

void InstallClock(ClockSource* source) { g_clock = source ? source : &g_realClock; }

uint32_t NowMs() { return static_cast<uint32_t>(g_clock->Now64()); }
uint64_t NowMs64() { return g_clock->Now64(); }
void SleepMs(uint32_t ms) { g_clock->Sleep(ms); }
void StartTimer(HWND wnd, UINT_PTR id, UINT periodMs) { g_clock->StartTimer(wnd, id, periodMs); }
void StopTimer(HWND wnd, UINT_PTR id) { g_clock->StopTimer(wnd, id); }
