#include "infra/clock.h"
#include "infra/log.h"
#include "zoom/turrets/turret_kinds.h"
#include "zoom/zoom.h"

namespace {
constexpr int32_t kTurretTimeoutMs = 5000;
} // namespace

void StartTurretMoveClock() { g_zoom_start_time = NowMs(); }

bool TurretMoveTimedOut()
{
    const uint32_t now = NowMs();
    const int32_t elapsed = static_cast<int32_t>(now - g_zoom_start_time);
    if (elapsed <= kTurretTimeoutMs)
        return false;
    g_log.Write("ZoomTimer ERROR: Timeout\n");
    LogPrintf(g_log, "(GetTickCount()-g_zoom_start_time)%d=%u-%u\n", elapsed, now, g_zoom_start_time);
    return true;
}
