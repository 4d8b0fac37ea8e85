#include "probe/touch_probe.h"

#include "board/axis_position.h"
#include "board/board_lock.h"
#include "core/axes.h"
#include "core/param_table.h"
#include "driver/axb400.h"
#include "infra/clock.h"
#include "infra/log.h"

#include <cstdio>
#include <cwchar>

int g_tpIsTP200 = 1;
int g_tpPdamp = 0;
int g_tpPpoff = 0;
int g_tpEnabled = 1;
int g_tpHitCount = 0;

namespace {

constexpr int kLatchAxes = 3;   // X, Y, Z carry the probe's latches
constexpr int kProbeLatch = 2;
constexpr int kPositionLatch = 0;
constexpr int kPositionLatchMode = 2;
constexpr int kProbeLatchMode = 6;
constexpr int kLatchOff = 0;
constexpr uint8_t kHitLatched = 0x04;

// The log's numbers are wide text between narrow separators, as the
// family's log viewers expect them.
template <class... Args>
void WriteWide(const wchar_t* format, Args... args)
{
    wchar_t text[64];
    std::swprintf(text, std::size(text), format, args...);
    g_log.Write(text);
}

void LogHit()
{
    int32_t first[kEncoderAxisCount] = {};
    uint16_t flags[kEncoderAxisCount] = {};
    int32_t second[kEncoderAxisCount] = {};
    uint8_t status = 0;
    AXB_GetTouchProbeLatch(0, kProbeLatch, first, flags, second, &status);
    AXB_RearmTouchProbe(0);
    const int n = g_tpHitCount++;
    const int32_t t = static_cast<int32_t>(NowMs());
    g_log.Write("(tp beep),");
    WriteWide(L"%d", n);
    g_log.Write(",");
    for (int a = 0; a < kLatchAxes; ++a) {
        WriteWide(L"%.4f", static_cast<double>(static_cast<float>(UserPosition(a, first[a])) * g_resolution[a]));
        g_log.Write(",");
    }
    for (int a = 0; a < kLatchAxes; ++a) {
        WriteWide(L"%d", second[a]);
        g_log.Write(",");
    }
    WriteWide(L"%d", t);
    g_log.Write("\n");
}

void Enable()
{
    g_log.Write("enableTouchProbe enabled\n");
    for (int a = 0; a < kLatchAxes; ++a)
        AXB_SetLatchMode(0, a, kPositionLatch, kPositionLatchMode);
    for (int a = 0; a < kLatchAxes; ++a)
        AXB_SetLatchMode(0, a, kProbeLatch, kProbeLatchMode);
    g_log.Write("SLM 2-7\n");
    AXB_SetProbeOption(0, 1, 0);
    AXB_RearmTouchProbe(0);
    const uint8_t flags = TouchProbeFlags(true);
    LogPrintf(g_log, "loc_enableTouchProbe(true) is calling AXB_SetTouchProbe %d\n", flags);
    AXB_SetTouchProbe(0, flags);
    g_tpEnabled = 1;
}

void Disable()
{
    g_tpEnabled = 0;
    for (int a = 0; a < kLatchAxes; ++a)
        AXB_SetLatchMode(0, a, kProbeLatch, kLatchOff);
    g_log.Write("SLM 2-8\n");
    const uint8_t flags = TouchProbeFlags(false);
    LogPrintf(g_log, "loc_enableTouchProbe(false) is calling AXB_SetTouchProbe %d\n", flags);
    AXB_SetTouchProbe(0, flags);
    g_log.Write("enableTouchProbe disabled\n");
}

} // namespace

uint8_t TouchProbeFlags(bool enable)
{
    return static_cast<uint8_t>((enable ? 0 : 1) | (g_tpIsTP200 ? 2 : 0) | (g_tpPdamp ? 4 : 0) | (g_tpPpoff ? 8 : 0));
}

void loc_enableTouchProbe(bool enable)
{
    const BoardLockGuard lock;
    if (!lock)
        return;
    if (enable)
        Enable();
    else
        Disable();
}

bool TouchProbePoll(bool log)
{
    const BoardLockGuard lock;
    if (!lock)
        return false;
    if (log) {
        uint8_t probeStatus = 0;
        AXB_GetProbeStatus(0, &probeStatus);
        LogPrintf(g_log, "%u,%d\n", NowMs(), probeStatus);
    }
    uint8_t latch = 0;
    AXB_GetTouchProbeLatchStatus(0, &latch);
    if (latch & kHitLatched)
        LogHit();
    return true;
}

void ResetTouchProbe()
{
    g_tpIsTP200 = 1;
    g_tpPdamp = 0;
    g_tpPpoff = 0;
    g_tpEnabled = 1;
    g_tpHitCount = 0;
}
