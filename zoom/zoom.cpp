#include "zoom/zoom.h"

#include "board/axis_record_line.h"
#include "board/board_lock.h"
#include "board/board_ready.h"
#include "board/joystick_tracking.h"
#include "board/axis_commands.h"
#include "board/move_status.h"
#include "core/axes.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/status_bits.h"
#include "core/unit_conversion.h"
#include "driver/axb400.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "infra/settings.h"
#include "zoom/turrets/turrets.h"
#include "zoom/zoom_lock.h"

int32_t g_zoomState;
int8_t g_zoomTargetIndex = -1;
bool g_zoomHomed;
bool g_zoomTimerHalted;
int32_t g_zoomLogLevel;
uint32_t g_zoom_start_time = 0x7FFFFFFF;

namespace {

constexpr uint32_t kZoomMask = 1u << kZoomAxis;
constexpr uint8_t kHomeFound = 0x02;                     // by the board's home search
constexpr uint8_t kHomeSwitch = kMoveHardLimitMinus;     // the zoom's home switch is its lower limit
// Far enough to run onto the switch, or off it, from anywhere in the travel.
constexpr int32_t kHomeRunCounts = 100000;
constexpr int kFullSpeedPercent = 100;
constexpr int kDataLogLevel = 4;         // above it: a data line per homing tick
constexpr int kDataHeaderLevel = 5;

int8_t g_lastLoggedState = -1;

// The transition lines that need zoom logging switched on.
void LogTransition(const char* line)
{
    if (g_zoomLogLevel > 0)
        g_log.Write(line);
}

uint8_t ZoomMoveStatus()
{
    uint8_t moveStatus = 0, errorByte = 0;
    AXB_GetMoveStatus(0, kZoomAxis, &moveStatus, &errorByte);
    return moveStatus;
}

int32_t ZoomPosition()
{
    int32_t position = 0;
    AXB_GetAxisPosValue(0, kZoomAxis, &position);
    return position;
}

bool IsHoming() { return g_zoomState >= kZoomSeekingHome && g_zoomState <= 6; }

bool IsZoomPosition(int n) { return n >= 1 && n <= kZoomPositions; }

// Zoom position n (none: the user zero) as the axis's counter value.
int32_t ZoomPositionTarget(int n)
{
    const int32_t counts =
        IsZoomPosition(n) ? TargetMmToCounts(krv_user_box_data.zoomPos[n - 1], kZoomAxis) : 0;
    return UserToRawCounts(kZoomAxis, counts);
}

int32_t HomeStartCounts() { return TargetMmToCounts(krv_user_box_data.homeStartPos, kZoomAxis); }

void StartSeekHome()
{
    AXB_SeekHome(0, kZoomAxis);
    g_zoom_start_time = NowMs();
}

// Leaves the home switch upwards; the position it left from.
int32_t ComeOffHomeSwitch()
{
    const int32_t pos = ZoomPosition();
    StartZoomMove(AddCounts(pos, kHomeRunCounts));
    if (g_zoomLogLevel > 0)
        LogPrintf(g_log, "Current pos %d Going to %d\n", pos, AddCounts(HomeStartCounts(), pos));
    return pos;
}

void WriteDataLine()
{
    if (g_zoomLogLevel <= kDataLogLevel)
        return;
    LogAxisRecordLine("Zoom", kZoomAxis, static_cast<int32_t>(NowMs() - static_cast<uint32_t>(g_traceStartTick)),
                      g_traceSequence++);
}

struct HomeEndLines {
    const char* inactive;
    const char* moving;
};

// Homed: the user zero is the home, and the zoom goes on to the position
// asked for meanwhile, or to the machine zero.
void EndHoming(const HomeEndLines& lines)
{
    g_offset[kZoomAxis] = 0;
    g_zoomHomed = true;
    if (g_zoomTargetIndex < 1) {
        StartZoomMove(machine_zero_offset[kZoomAxis]);
        g_zoomState = kZoomInactive;
        LogTransition(lines.inactive);
    } else {
        g_zoomState = kZoomInactive;
        ZoomGoto(g_zoomTargetIndex);
        LogTransition(lines.moving);
    }
}

void OnSeekingHome(uint8_t m)
{
    if (g_zoomType == kZoomMotorNoSwitch) {
        if (m & kHomeFound)
            EndHoming({"Moving from KRV_STATE_ZOOM_SEEKING_HOME to KRV_STATE_ZOOM_INACTIVE\n",
                       "Moving from KRV_STATE_ZOOM_SEEKING_HOME to KRV_STATE_ZOOM_MOVING\n"});
        return;
    }
    if (!(m & kMoveComplete))
        return;
    SendVelocityPercent(kZoomAxis, kFullSpeedPercent);
    ComeOffHomeSwitch();
    g_zoomState = kZoomComingOffHome;
    LogTransition("Moving from KRV_STATE_ZOOM_SEEKING_HOME to KRV_STATE_ZOOM_COMING_OFF_HOME\n");
    if (g_zoomLogLevel >= kDataHeaderLevel)
        g_log.Write("Zoom,Time,Target,Actual,Nominal,Lag,V-Soll,V-Ist,Part-V,Part-P,Part-I,Part-D,Base,PID,R-Cnt,"
                    "Flags,Status,Cnt\n");
}

void OnComingOffHome(uint8_t m)
{
    WriteDataLine();
    if (m & kHomeSwitch)
        return;
    g_traceStartTick = NowMs64();
    if (krv_user_box_data.homeStartPos != 0) {
        SendVelocityPercent(kZoomAxis, kFullSpeedPercent);
        StartZoomMove(AddCounts(HomeStartCounts(), ZoomPosition()));
    } else {
        AXB_StopAxis(0, kZoomAxis);
    }
    g_zoomState = kZoomGoingToZoomStart;
    LogTransition("Moving from KRV_STATE_ZOOM_COMING_OFF_HOME to KRV_STATE_ZOOM_GOING_TO_ZOOM_START\n");
}

void OnGoingToZoomStart(uint8_t m)
{
    WriteDataLine();
    if ((m & (kHomeSwitch | kMoveComplete)) != kMoveComplete)
        return;
    const int slow = GetSettingInt(L"zoom", L"SlowHomePercent", L"100");
    LogPrintf(g_log, "SlowHomePercent:%d\n", slow);
    SendVelocityPercent(kZoomAxis, slow);
    StartSeekHome();
    g_zoomState = kZoomSeekingHome2;
    LogTransition("Moving from KRV_STATE_ZOOM_GOING_TO_ZOOM_START to KRV_STATE_ZOOM_SEEKING_HOME2\n");
}

void OnSeekingHome2(uint8_t m)
{
    if (!(m & kHomeFound))
        return;
    SendVelocityPercent(kZoomAxis, kFullSpeedPercent);
    EndHoming({"Moving from KRV_STATE_ZOOM_SEEKING_HOME2 to KRV_STATE_ZOOM_INACTIVE\n",
               "Moving from KRV_STATE_ZOOM_SEEKING_HOME2 to KRV_STATE_ZOOM_MOVING\n"});
}

void OnMoving(uint8_t m)
{
    if (!(m & kMoveComplete))
        return;
    g_zoomState = kZoomInactive;
    constexpr char kLine[] = "Moving from KRV_STATE_ZOOM_MOVING to KRV_STATE_ZOOM_INACTIVE\n";
    LogTransition(kLine);
    // The end of every zoom move is in the log, logging switched on or not.
    g_log.Write(kLine);
}

void OnBacklashing(uint8_t m)
{
    if (!(m & kMoveComplete))
        return;
    StartZoomMove(ZoomPositionTarget(g_zoomTargetIndex));
    g_zoomState = kZoomMoving;
    LogTransition("Moving from KRV_STATE_ZOOM_BACKLASHING to KRV_STATE_ZOOM_BACKLASHING\n");
}

void StepState(uint8_t m)
{
    switch (g_zoomState) {
    case kZoomSeekingHome: OnSeekingHome(m); return;
    case kZoomComingOffHome: OnComingOffHome(m); return;
    case kZoomGoingToZoomStart: OnGoingToZoomStart(m); return;
    case kZoomSeekingHome2: OnSeekingHome2(m); return;
    case kZoomMoving: OnMoving(m); return;
    case kZoomBacklashing: OnBacklashing(m); return;
    default: return;
    }
}

void ReportTimeout(int32_t elapsed, uint32_t now)
{
    g_log.Write("ZoomTimer ERROR: Timeout\n");
    LogPrintf(g_log, "(GetTickCount()-g_start_time)%d=%u-%u\n", elapsed, now, g_zoom_start_time);
    g_zoomTimerHalted = true;
    MoveStatusRecord record{};
    bool done = false, error = false;
    CncGetMoveStatus(true, done, error, record, kZoomMask, "ZoomTimer");
}

// The limit is read on every tick that can use it, so a changed setting
// applies to the move under way.
bool TimedOut()
{
    const int limit = GetSettingInt(L"zoom", L"timeout_ms", L"30000");
    const uint32_t now = NowMs();
    const int32_t elapsed = static_cast<int32_t>(now - g_zoom_start_time);
    if (elapsed <= limit)
        return false;
    ReportTimeout(elapsed, now);
    return true;
}

void StepMotorZoom()
{
    if (g_zoomState != kZoomInactive) {
        // Read for the system-stop lines it logs.
        MoveStatusRecord record{};
        bool done = false, error = false;
        CncGetMoveStatus(false, done, error, record, kZoomMask, "ZoomTimer");
        if (TimedOut())
            return;
    }
    ZoomTimerFunc();
}

} // namespace

void StartZoomMove(int32_t target)
{
    GotoTarget(kZoomAxis, target);
    g_zoom_start_time = NowMs();
}

bool ZoomGoto(int8_t n)
{
    // A timeout froze the sequence under way: it will not finish, and the
    // new command must not wait on it.
    const bool afterTimeout = g_zoomTimerHalted;
    g_zoomTimerHalted = false;
    BoardLockGuard lock;
    if (!lock) {
        g_log.Write("Failed to get ZEZ_LOCK\n");
        return false;
    }
    g_zoomType = GetSettingInt(L"stagetune", L"ZoomType", L"0") & 0xFF;
    if (IsMotorZoom(g_zoomType) && IsAXBBoardLoaded(false)) {
        if (!IsZoomPosition(n)) {
            LogPrintf(g_log, "ZoomGoto(%d): no such zoom position (1 to 10), the zoom stays\n", n);
            return true;
        }
        if (!GotoTargetFits(kZoomAxis, krv_user_box_data.zoomPos[n - 1]))
            return true;
        if (afterTimeout && IsHoming()) {
            g_zoomState = kZoomInactive;
            // Not homed: the homing starts again, and goes to n when done.
            if (!g_zoomHomed && StartZoomHome()) {
                g_zoomTargetIndex = n;
                return true;
            }
        }
        if (!IsHoming()) {
            SendVelocityPercent(kZoomAxis, kFullSpeedPercent);
            ZoomMoveWithBacklash(ZoomPositionTarget(n));
        }
        g_zoomTargetIndex = n;
        return true;
    }
    // The board may have gone, or a turret has the zoom's place: either way
    // the zoom's home is no longer known.
    ForgetBoardLoaded();
    g_zoomHomed = false;
    TurretGoto(g_zoomType, n);
    return true;
}

void ZoomMoveWithBacklash(int32_t target)
{
    const int32_t pos = ZoomPosition();
    const float backlash = krv_user_box_data.zoomBacklash;
    if (backlash != 0) {
        const int direction = static_cast<int64_t>(target) - pos < 1 ? -1 : 1;
        const int backlashSide = backlash < 0 ? -1 : 1;
        if (direction == backlashSide) {
            StartZoomMove(AddCounts(TargetMmToCounts(backlash, kZoomAxis), target));
            g_zoomState = kZoomBacklashing;
            return;
        }
    }
    StartZoomMove(target);
    g_zoomState = kZoomMoving;
}

bool ZoomHomeServo()
{
    g_zoomTimerHalted = false;
    if (!IsAXBBoardLoaded(false))
        return false;
    g_log.Write("ZoomHomeServo called\n");
    const uint8_t m = ZoomMoveStatus();
    g_zoomTargetIndex = -1;
    SendVelocityPercent(kZoomAxis, kFullSpeedPercent);
    if (!(m & kHomeSwitch)) {
        StartZoomMove(-kHomeRunCounts);
        g_zoomState = kZoomSeekingHome;
        return true;
    }
    ComeOffHomeSwitch();
    if (g_zoomLogLevel > 0)
        LogPrintf(g_log, "Distance %.12g counts per mm %u\n", static_cast<double>(krv_user_box_data.homeStartPos),
                  g_param[AxisParam(kParamCountsPerMm, kZoomAxis)]);
    g_zoomState = kZoomComingOffHome;
    return true;
}

bool ZoomHomeNoLimit()
{
    g_zoomTimerHalted = false;
    if (!IsAXBBoardLoaded(false))
        return false;
    g_log.Write("ZoomHomeNoLimit called\n");
    g_zoomTargetIndex = -1;
    StartSeekHome();
    g_zoomState = kZoomSeekingHome;
    return true;
}

bool StartZoomHome() { return g_zoomType == kZoomMotorNoSwitch ? ZoomHomeNoLimit() : ZoomHomeServo(); }

void MotionAndZoomFlagsOff()
{
    MotionFlagsOff();
    g_zoomState = kZoomInactive;
}

void ZoomTimer()
{
    // The joystick's quick calibration follows the sweep on every tick,
    // whatever kind of zoom there is and whether it is halted: without it
    // the calibration would find no extremes at all.
    if (g_zoomTimerHalted) {
        TrackJoystickExtremes();
        return;
    }
    ZoomLockGuard lock;
    if (!lock)
        return;
    if (IsTurret(g_zoomType))
        TurretPoll(g_zoomType);
    else
        StepMotorZoom();
    TrackJoystickExtremes();
}

void ZoomTimerFunc()
{
    if (!IsAXBBoardLoaded(true))
        return;
    if (g_zoomState != g_lastLoggedState) {
        g_lastLoggedState = static_cast<int8_t>(g_zoomState);
        if (g_zoomLogLevel > 0)
            LogPrintf(g_log, "just changed to zoom state:%d\n", g_zoomState);
    }
    if (g_zoomState == kZoomInactive)
        return;
    BoardLockGuard lock;
    if (!lock)
        return;
    StepState(ZoomMoveStatus());
}

void ResetZoom()
{
    g_zoomState = kZoomInactive;
    g_zoomTargetIndex = -1;
    g_zoomHomed = false;
    g_zoomTimerHalted = false;
    g_zoomLogLevel = 0;
    g_zoom_start_time = 0x7FFFFFFF;
    g_lastLoggedState = -1;
}
