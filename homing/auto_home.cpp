#include "homing/auto_home.h"

#include "board/board_lock.h"
#include "board/board_ready.h"
#include "board/fences.h"
#include "board/axis_commands.h"
#include "board/move_status.h"
#include "core/auto_home_state.h"
#include "core/flash_items.h"
#include "core/goto_sequence.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "driver/axb400.h"
#include "homing/auto_home_progress.h"
#include "homing/reference_marks.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "infra/settings.h"
#include "infra/user_prompts.h"

int32_t g_homingTarget[4];
int32_t g_homeStartPos[4];

namespace {

constexpr int32_t kSweepDistance = 1000000000;
constexpr uint8_t kStopped = 0x01;
constexpr uint32_t kHomingConfigBits = 0x07;
constexpr char kAxisLetters[] = "XYZQ";

uint64_t g_lastSummarySecond;
// The percent each axis of the run was commanded before it: what Cancel and
// Stop give back.
int32_t g_percentBeforeRun[kEncoderAxisCount];
// The distance-coded zero of the axis was refused: the axis goes back as
// any other, but it is not homed and the run has failed.
bool g_zeroRefused[kEncoderAxisCount];
bool AutoHomeEnabled(int axis) { return krv_user_box_data.autoHomeEnabled[axis] != 0; }
bool CanHome(int axis) { return (g_param[AxisParam(kParamMotorType, axis)] & kHomingConfigBits) != 0; }
int Method(int axis) { return krv_user_box_data.zeroingMethod[axis]; }
bool Running(int axis) { return g_homingActive[axis] && (g_homingStage[axis] & 0xF7) != 0; }

uint32_t EnabledAxesMask()
{
    uint32_t mask = 0;
    for (int axis = 0; axis < kAxisCount; ++axis)
        if (krv_user_box_data.autoHomeEnabled[axis])
            mask |= AxisBit(axis);
    return mask;
}

// Step lines for a technician following the run, with "LogAutoHomeStates".
void LogMoveStep(const char* step, int axis, int32_t value)
{
    if (g_logAutoHomeStates)
        LogPrintf(g_log, "%s:SAPA(0,%d,%d)\n", step, axis, value);
}

void LogZStopStep(const char* step)
{
    if (g_logAutoHomeStates)
        LogPrintf(g_log, "%s:SAPS(0,%d)\n", step, kAxisZ);
}

void Sweep(int axis, int32_t target)
{
    g_homingTarget[axis] = target;
    GotoTarget(axis, target);
}

void ConfigureReferenceMarkPolarity()
{
    BoardLockGuard lock;
    if (!lock) {
        g_log.Write("Failed to get ZEZ_LOCK KRV_ConfigureAXBAnalogReferenceMarks zoom\n");
        return;
    }
    g_log.Write("ConfigureAnalogReferenceMarks called\n");
    if (IsAXBBoardLoaded(false))
        ConfigureAnalogReferenceMarks();
}

void StartAxis(int axis)
{
    const int method = Method(axis);
    int stage = kStageSeekingFoundNone;
    if (method == kZeroLimit ||
        ((method == kZeroSingleMark || method == kZeroDistanceCoded) && krv_user_box_data.homingFindStartLimit[axis]))
        stage = kStageSeekingLimitIgnore;
    else
        updateReferenceMarkTypeAndEnable(static_cast<int8_t>(axis), true);
    SetHomingStage(axis, stage);
    g_homingTarget[axis] = krv_user_box_data.homingScanDirection[axis] ? -kSweepDistance : kSweepDistance;
    SendVelocityPercent(axis, HomingVelocityPercent(krv_user_box_data.autoHomeVelocityPercent[axis]));
    GotoTarget(axis, g_homingTarget[axis]);
    LogMoveStep("1", axis, g_homingTarget[axis]);
}

// The zero is known: Z stops and waits for the others, every other axis
// goes back (or stops, by setting).
void ZeroFound(int axis, const char* zStep, const char* returnStep, int32_t returnValue)
{
    if (axis == kAxisZ) {
        AXB_StopAxis(0, kAxisZ);
        LogZStopStep(zStep);
        SetHomingStage(axis, kStageZWaiting);
    } else {
        ReturnToHomePos(axis);
        LogMoveStep(returnStep, axis, returnValue);
    }
}

void ApplyDistanceCodedZero(int axis, int32_t last, int32_t previous)
{
    g_homeRefFound[axis] = ApplyHomeOffset(axis, last, previous, kHomeDistanceCoded);
    if (g_homeRefFound[axis])
        return;
    g_zeroRefused[axis] = true;
    LogPrintf(g_log, "Auto home of axis %d failed: its reference marks give no zero\n", axis);
}

bool IsStopped(uint8_t moveStatus, uint8_t errorByte)
{
    return (moveStatus & kStopped) || (errorByte & kErrorFollowing);
}

// Stage 2: the first sweep, looking for marks.
void FirstSweepStep(int axis, bool stopped)
{
    int32_t last = 0, previous = 0;
    const int32_t marks = CheckReferenceMark(axis, last, previous);
    const int method = Method(axis);
    if (marks >= 2 && method == kZeroDistanceCoded) {
        ZeroFound(axis, "2", "3", g_homingTarget[axis]);
        LogPrintf(g_log, "Stop Axis %d\n", axis);
        LogPrintf(g_log, "Found second reference mark for axis %d\n", axis);
        ApplyDistanceCodedZero(axis, last, previous);
        return;
    }
    if (marks > 0 && method == kZeroSingleMark) {
        ZeroFound(axis, "4", "5", g_homingTarget[axis]);
        LogPrintf(g_log, "Found reference mark for axis %d\n", axis);
        g_homeRefFound[axis] = ApplyHomeOffset(axis, last, previous, kHomeSingleMark);
        return;
    }
    if (marks > 0 && method != kZeroDistanceCoded)
        g_log.Write("*** Error Impossible Homing State \n");
    if (marks >= 2 || !stopped)
        return;
    const int32_t oldTarget = g_homingTarget[axis];
    if (oldTarget >= 0) {
        int32_t mode = 0;
        AXB_GetLatchMode(0, axis, 2, &mode);
        LogPrintf(g_log, "enabling current mode is %d\n", mode);
        updateReferenceMarkTypeAndEnable(static_cast<int8_t>(axis), true);
        LogPrintf(g_log, "Just hit positive limit on axis %d\n", axis);
        SetHomingStage(axis, kStageSeekingEndFoundNone);
        Sweep(axis, -kSweepDistance);
        LogMoveStep("6", axis, g_homingTarget[axis]);
    } else {
        updateReferenceMarkTypeAndEnable(static_cast<int8_t>(axis), true);
        LogPrintf(g_log, "Just hit negative limit on axis %d target was %d\n", axis, oldTarget);
        SetHomingStage(axis, kStageSeekingEndFoundNone);
        Sweep(axis, kSweepDistance);
        LogMoveStep("6.5", axis, g_homingTarget[axis]);
    }
}

// Stage 4: the sweep back from an end stop, looking for marks.
void ReverseSweepStep(int axis, bool stopped)
{
    int32_t last = 0, previous = 0;
    const int32_t marks = CheckReferenceMark(axis, last, previous);
    const int method = Method(axis);
    if (marks >= 2 && method == kZeroDistanceCoded) {
        ZeroFound(axis, "11", "12", g_homeStartPos[axis]);
        LogPrintf(g_log, "Found second reference mark for axis %d\n", axis);
        ApplyDistanceCodedZero(axis, last, previous);
        return;   // a mark latched in the tick of the stop is a good home, not a failure
    }
    if (marks > 0 && method == kZeroSingleMark) {
        ZeroFound(axis, "13", "14", g_homeStartPos[axis]);
        LogPrintf(g_log, "Found First and only reference mark for axis %d\n", axis);
        g_homeRefFound[axis] = ApplyHomeOffset(axis, last, previous, kHomeSingleMark);
        return;
    }
    if (!stopped)
        return;
    // Both ends without a zero: the axis stays not homed.
    SetHomingStage(axis, kStageIrrecoverableError);
    g_homeRefFound[axis] = false;
    g_log.Write(g_homingTarget[axis] >= 0 ? "+error we just hit both limits or we got 2 following errors\n"
                                          : "-error we just hit both limits or we got 2 following errors\n");
}

void LimitZeroStep(int axis)
{
    uint8_t moveStatus = 0, errorByte = 0;
    AXB_GetMoveStatus(0, axis, &moveStatus, &errorByte);
    if (!(moveStatus & kStopped))
        return;
    int32_t position = 0;
    AXB_GetAxisPosValue(0, axis, &position);
    const bool qTracking = axis == kAxisQ && g_ztrack_pos != kZTrackUnset;
    if (axis == kAxisZ) {
        AXB_StopAxis(0, kAxisZ);
        LogZStopStep("9");
        SetHomingStage(axis, kStageZWaiting);
    } else if (!qTracking) {
        if (axis == kAxisQ)
            LogPrintf(g_log, "g_ztrack_pos %d\n", g_ztrack_pos);
        ReturnToHomePos(axis);
        LogMoveStep("10", axis, g_homeStartPos[axis]);
    }
    g_offset[axis] = position;
    g_homeRefFound[axis] = ApplyHomeOffset(axis, position, position, kHomeSingleMark);
    if (!qTracking)
        return;
    const int32_t trackTarget = AddCounts(AddCounts(machine_zero_offset[kAxisQ], g_offset[kAxisQ]), g_ztrack_pos);
    if (GetSettingInt(L"stagetune", L"ReturnToHomePos", L"1") == 1) {
        SetHomingStage(axis, kStageReturning);
        g_lastGotoTarget[kAxisQ] = g_ztrack_pos;
        AXB_SetAxisPosAbs(0, kAxisQ, trackTarget);
    } else {
        SendVelocityPercent(kAxisQ, 100);
        AXB_StopAxis(0, kAxisQ);
        SetHomingStage(axis, kStageInactive);
    }
    LogMoveStep("16", kAxisQ, trackTarget);
}

// Stage 1: the run to an end stop with the marks ignored.
void StopSeekStep(int axis, bool stopped)
{
    if (Method(axis) == kZeroLimit) {
        LimitZeroStep(axis);
        return;
    }
    if (!stopped)
        return;
    updateReferenceMarkTypeAndEnable(static_cast<int8_t>(axis), true);
    SetHomingStage(axis, kStageSeekingEndFoundNone);
    if (g_homingTarget[axis] >= 0) {
        Sweep(axis, -kSweepDistance);
        LogMoveStep("8.5", axis, g_homingTarget[axis]);
    } else {
        Sweep(axis, kSweepDistance);
        LogMoveStep("8.6", axis, g_homingTarget[axis]);
    }
}

// X, Y and Q are done or gave up, and one of them gave up.
bool OthersDoneOrFailed()
{
    bool failed = false;
    for (int other : {kAxisX, kAxisY, kAxisQ}) {
        if (!g_homingActive[other])
            continue;
        const int8_t stage = g_homingStage[other];
        if (stage != kStageInactive && stage != kStageIrrecoverableError)
            return false;
        failed = failed || stage == kStageIrrecoverableError || g_zeroRefused[other];
    }
    return failed;
}

void StepAxis(int axis)
{
    uint8_t moveStatus = 0, errorByte = 0;
    AXB_GetMoveStatus(0, axis, &moveStatus, &errorByte);
    const bool stopped = IsStopped(moveStatus, errorByte);
    switch (g_homingStage[axis]) {
    case kStageSeekingFoundNone:
        FirstSweepStep(axis, stopped);
        break;
    case kStageSeekingLimitIgnore:
        StopSeekStep(axis, stopped);
        break;
    case kStageSeekingEndFoundNone:
        ReverseSweepStep(axis, stopped);
        break;
    case kStageZWaiting:
        if (AllOtherAxesHomed()) {
            ReturnToHomePos(axis);
            LogMoveStep("15", axis, g_homeStartPos[axis]);
        } else if (OthersDoneOrFailed()) {
            // Nothing else moves, and a failed axis never will: the wait
            // would only end by Cancel, and the failure would go unsaid.
            g_log.Write("Auto home ended with a failed axis: Z stays at its zero\n");
            SendVelocityPercent(axis, 100);
            SetHomingStage(axis, kStageInactive);
        }
        break;
    case kStageReturning:
        if (moveStatus & kStopped) {
            g_log.Write("Setting velocity\n");
            SendVelocityPercent(axis, 100);
            SetHomingStage(axis, kStageInactive);
        }
        break;
    default:
        break;
    }
}

void LogStageSummary()
{
    const uint64_t second = NowMs64() / 1000;
    if (second <= g_lastSummarySecond)
        return;
    g_lastSummarySecond = second;
    LogPrintf(g_log, "g_homing_status={%d,%d,%d,%d}\n", g_homingStage[0], g_homingStage[1], g_homingStage[2],
              g_homingStage[3]);
}

bool PollRunStatus(bool logAlways)
{
    MoveStatusRecord record{};
    bool done = false, error = false;
    CncGetMoveStatus(logAlways, done, error, record, EnabledAxesMask(), "AutoHomeTimer");
    return error;
}

// The run freezes on a status error; the axes it moved must not sweep on.
void AbortRun()
{
    g_homingAborted = true;
    for (int axis = 0; axis < kEncoderAxisCount; ++axis)
        if (Running(axis))
            AXB_StopAxis(0, axis);
}

bool AnyAxisRunning()
{
    for (int axis = 0; axis < kEncoderAxisCount; ++axis)
        if (Running(axis))
            return true;
    return false;
}

// Continuous goto, continuous home and a multi-axis sequence would command
// the same axes as the sweeps.
void StopCompetingMotion()
{
    MotionFlagsOff();
    g_multiGotoRunning = 0;
}

} // namespace

bool IsAutoHomeEnabled(uint8_t& axisMask)
{
    axisMask = 0;
    if (!IsAXBBoardLoaded(true))
        return false;
    for (int axis = 0; axis < kEncoderAxisCount; ++axis)
        if (AutoHomeEnabled(axis) && CanHome(axis))
            axisMask |= static_cast<uint8_t>(AxisBit(axis));
    LogPrintf(g_log, "IsAutoHomeEnabled returning%d\n", axisMask != 0 ? 1 : 0);
    return axisMask != 0;
}

bool AutoHome()
{
    BoardLockGuard lock;
    if (!lock) {
        g_log.Write("Failed to get ZEZ lock 0\n");
        return false;
    }
    g_logAutoHomeStates = GetSettingInt(L"stagetune", L"LogAutoHomeStates", L"0") & 0xFF;
    g_log.Write("AutoHome called\n");
    ConfigureReferenceMarkPolarity();
    if (!IsAXBBoardLoaded(false)) {
        g_log.Write("IsAXBBoardLoaded returned 0\n");
        return false;
    }
    DisableSoftwareFences();
    bool anyHomeable = false;
    for (int axis = 0; axis < kEncoderAxisCount; ++axis) {
        SetHomingStage(axis, kStageInactive);
        g_homeRefFound[axis] = false;
        g_homingActive[axis] = false;
        anyHomeable = anyHomeable || (AutoHomeEnabled(axis) && CanHome(axis));
        LogPrintf(g_log, "axis %d auto home enabled is %d\n", axis, AutoHomeEnabled(axis) ? 1 : 0);
    }
    if (!anyHomeable) {
        g_log.Write("No axes to auto home\n");
        return false;
    }
    g_homingAborted = false;
    for (int axis = 0; axis < kEncoderAxisCount; ++axis) {
        g_zeroRefused[axis] = false;
        if (!AutoHomeEnabled(axis))
            continue;
        g_homingActive[axis] = true;
        // An axis never sent a percent runs at the board's own 100 %.
        g_percentBeforeRun[axis] = g_cmdVelPercent[axis] != 0 ? g_cmdVelPercent[axis] : 100;
        AXB_GetAxisPosValue(0, axis, &g_homeStartPos[axis]);
    }
    for (int axis = 0; axis < kEncoderAxisCount; ++axis) {
        updateReferenceMarkTypeAndEnable(static_cast<int8_t>(axis), false);
        const int method = Method(axis);
        if (g_homingActive[axis] && method != kZeroNone && method != kZeroManual)
            StartAxis(axis);
        else
            SetHomingStage(axis, kStageInactive);
    }
    return true;
}

void AutoHomeTimer()
{
    // Idle ticks cost nothing: no lock, no readiness check, no driver call.
    if (!AnyAxisRunning() || g_homingAborted)
        return;
    BoardLockGuard lock;
    if (!lock || !IsAXBBoardLoaded(false))
        return;
    if (PollRunStatus(false)) {
        AbortRun();
        return;
    }
    LogStageSummary();
    for (int axis = 0; axis < kEncoderAxisCount; ++axis)
        if (g_homingActive[axis])
            StepAxis(axis);
    if (!AnyAxisRunning()) {
        PollRunStatus(true);
        EnableSoftwareFences();
    }
}

void ReturnToHomePos(int axis)
{
    if (GetSettingInt(L"stagetune", L"ReturnToHomePos", L"1") == 1) {
        SetHomingStage(axis, kStageReturning);
        GotoTarget(axis, g_homeStartPos[axis]);
        return;
    }
    SendVelocityPercent(axis, 100);
    AXB_StopAxis(0, axis);
    SetHomingStage(axis, kStageInactive);
}

void SetHomingStage(int axis, int stage)
{
    if (axis < 0 || axis >= kEncoderAxisCount)
        return;
    g_homingStage[axis] = static_cast<int8_t>(stage);
    LogPrintf(g_log, "Homing Status %c = %s\n", kAxisLetters[axis], HomingStageName(stage));
}

bool AllOtherAxesHomed()
{
    for (int axis : {kAxisX, kAxisY, kAxisQ})
        if (g_homingActive[axis] && g_homingStage[axis] != kStageInactive)
            return false;
    return true;
}

bool IsAutoHomeRunning() { return AnyAxisRunning(); }

bool AutoHomeHasFailedAxis()
{
    for (int axis = 0; axis < kEncoderAxisCount; ++axis)
        if (g_homingActive[axis] && (g_homingStage[axis] == kStageIrrecoverableError || g_zeroRefused[axis]))
            return true;
    return false;
}

void CancelAutoHome()
{
    for (int axis = 0; axis < kEncoderAxisCount; ++axis) {
        const bool inRun = g_homingActive[axis];
        SetHomingStage(axis, kStageInactive);
        g_homingActive[axis] = false;
        AXB_StopAxis(0, axis);
        // The sweeps ran at the homing speed; an axis of the run gets back
        // the percent it was commanded before, and the others keep theirs.
        if (inRun)
            SendVelocityPercent(axis, g_percentBeforeRun[axis]);
    }
}

bool RefusedWhileAutoHoming(const char* command)
{
    if (!IsAutoHomeRunning())
        return false;
    LogPrintf(g_log, "%s refused: Auto Home is running (Stop cancels it)\n", command);
    return true;
}

void StopAxesAndAutoHome(int count)
{
    if (IsAutoHomeRunning())
        CancelAutoHome();
    StopAxes(count);
}

void OnAutoHomeButton(HWND wnd)
{
    uint8_t mask = 0;
    if (!IsAutoHomeEnabled(mask)) {
        ShowMessageBox(wnd, L"No axes enabled for auto home", L"Autohome", MB_OK);
        return;
    }
    if (ShowMessageBox(wnd, L"About to Auto Home", L"Autohome", MB_OKCANCEL) != IDOK)
        return;
    StopCompetingMotion();
    WriteSettingString(L"CNC", L"SetupSequencerActive", L"1");
    if (GetSettingInt(L"stagetune", L"CreateZoomLogThread", L"0") != 0)
        g_traceOn = true;
    if (!AutoHome()) {
        ShowMessageBox(wnd, L"Auto Home Failed", L"", MB_OK);
        return;
    }
    ShowAutoHomeProgress(wnd);
}

void ResetAutoHome()
{
    for (int axis = 0; axis < kEncoderAxisCount; ++axis) {
        g_homingTarget[axis] = 0;
        g_homeStartPos[axis] = 0;
        g_percentBeforeRun[axis] = 0;
        g_zeroRefused[axis] = false;
    }
    g_lastSummarySecond = 0;
}
