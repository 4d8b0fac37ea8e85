#include "app/home_commands.h"

#include "board/axis_position.h"
#include "board/axis_commands.h"
#include "core/axes.h"
#include "core/motion_state.h"
#include "core/session_state.h"
#include "core/status_bits.h"
#include "core/unit_conversion.h"
#include "driver/axb400.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "zoom/turrets/turrets.h"
#include "zoom/zoom.h"

namespace {

// A continuous-home move that has not ended by then is logged and homing
// starts over.
constexpr uint32_t kMoveTimeoutMs = 60000;
constexpr int32_t kHomeRunCounts = -100000;

uint32_t g_moveDeadline;
uint32_t g_cycleCounter;
uint32_t g_lastCycleTick;

void RestartDeadline(uint32_t now) { g_moveDeadline = now + kMoveTimeoutMs; }

// Wrap-safe "now is past the deadline".
bool PastDeadline(uint32_t now) { return static_cast<int32_t>(now - g_moveDeadline) > 0; }

void LogTimedOut()
{
    const int axis = g_radio_last;
    int32_t lag = 0;
    AXB_GetFollowingError(0, axis, &lag);
    const double resolution = g_resolution[axis];
    LogPrintf(g_log, "***Timed out waiting for goto to complete,pos,%.12g,lag,%.12g\n",
              UserPosition(axis, RawPosition(axis)) * resolution, lag * resolution);
}

void GoToZoomTarget(uint32_t now)
{
    StartZoomMove(UserToRawCounts(kZoomAxis, TargetMmToCounts(g_targetMm[kZoomAxis], kZoomAxis)));
    g_maxFollowing[g_radio_last] = 0;
    g_contHomeState = kContHomeGoing;
    RestartDeadline(now);
}

void StartNextCycle(uint32_t now)
{
    const uint32_t elapsed = now - g_lastCycleTick;
    g_lastCycleTick = now;
    StartZoomMove(kHomeRunCounts);
    RestartDeadline(now);
    g_contHomeState = kContHomeHoming;
    g_maxFollowing[g_radio_last] = 0;
    g_zoomState = kZoomSeekingHome;
    const int32_t q = UserPosition(kAxisQ, RawPositionByMotorType(kAxisQ));
    const int32_t zoom = UserPosition(kZoomAxis, RawPosition(kZoomAxis));
    LogPrintf(g_log, "%d,Q,%d,V,%d,Delta,%d,time,%d\n", g_cycleCounter++, q, zoom, AddCounts(q, -zoom), elapsed);
}

} // namespace

void OnHomeButton(HWND) { StartZoomHome(); }

void OnContinuousHomeButton(HWND wnd)
{
    g_cycleCounter = 0;
    if (g_contHomeState == kContHomeOff) {
        g_contHomeState = kContHomeHoming;
        RestartDeadline(NowMs());
        OnHomeButton(wnd);
        return;
    }
    g_contHomeState = kContHomeOff;
    g_contGotoState = kContGotoOff;
    g_zoomState = kZoomInactive;
}

void ContinuousHomeStep(uint8_t moveStatus, uint8_t errorByte)
{
    if (g_contHomeState == kContHomeOff)
        return;
    const uint32_t now = NowMs();
    if (PastDeadline(now)) {
        LogTimedOut();
        g_zoomState = kZoomInactive;
        RestartDeadline(now);
        if (StartZoomHome() && g_zoomType == kZoomMotorNoSwitch)
            return;
    }
    if (g_zoomState != kZoomInactive || errorByte != 0)
        return;
    if ((moveStatus & kMoveHardLimitMinus) && g_contHomeState == kContHomeHoming)
        GoToZoomTarget(now);
    else if (moveStatus & kMoveComplete)
        StartNextCycle(now);
}

void ResetHomeCommands()
{
    g_moveDeadline = 0;
    g_cycleCounter = 0;
    g_lastCycleTick = 0;
}
