#include "app/motion_commands.h"

#include "app/param_fields.h"
#include "board/axis_position.h"
#include "board/axis_record_line.h"
#include "board/axis_commands.h"
#include "board/move_status.h"
#include "core/auto_home_state.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "driver/axb400.h"
#include "homing/auto_home.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "res/resource.h"
#include "zoom/zoom.h"

namespace {

constexpr uint32_t kDwellMs = 1000;

uint32_t g_dwellDeadline;
PROCESS_INFORMATION g_videoProcess;

void LogSapa(const char* label, int axis)
{
    if (g_logAutoHomeStates)
        LogPrintf(g_log, "%s%d)\n", label, axis);
}

// True when the move went out.
bool StartGoto(HWND wnd, const char* command, const char* label)
{
    if (RefusedWhileAutoHoming(command))
        return false;
    CommitParams(wnd);
    const int axis = g_radio_last;
    const std::optional<int32_t> target = NextGotoTarget(axis);
    if (!target)
        return false;
    GotoTarget(axis, *target);
    LogSapa(label, axis);
    g_maxFollowing[axis] = 0;
    return true;
}

} // namespace

std::optional<int32_t> NextGotoTarget(int axis)
{
    if (g_targetMm[axis] == g_lastTargetMm[axis]) {
        for (float& last : g_lastTargetMm)
            last = 0.0f;
        return UserToRawCounts(axis, 0);
    }
    if (!GotoTargetFits(axis, g_targetMm[axis]))
        return std::nullopt;
    for (int a = 0; a < kAxisCount; ++a)
        g_lastTargetMm[a] = g_targetMm[a];
    return GotoRawCounts(g_targetMm[axis], axis);
}

void OnGotoButton(HWND wnd) { StartGoto(wnd, "Goto", "X2:SAPA(0,"); }

void OnContinuousGotoButton(HWND wnd)
{
    // The button toggles; stopping the cycle sends nothing to the board.
    if (g_contGotoState != kContGotoOff) {
        g_contGotoState = kContGotoOff;
        return;
    }
    if (StartGoto(wnd, "Continuous Goto", "X1:SAPA(0,"))
        g_contGotoState = kContGotoMoving;
}

void OnStopButton(HWND)
{
    MotionFlagsOff();
    StopAxesAndAutoHome(kAxisCount);
}

void OnClearCountButton(HWND) { AXB_ClearCount(0, kAllAxesMask); }

void OnZeroButton(HWND, int id)
{
    if (id == IDC_ZERO_ZOOM) {
        g_offset[kZoomAxis] = AddCounts(RawPosition(kZoomAxis), -machine_zero_offset[kZoomAxis]);
        return;
    }
    constexpr int kZeroButtons[] = {IDC_ZERO_X, IDC_ZERO_Y, IDC_ZERO_Z, IDC_ZERO_Q};
    for (int a = 0; a < 4; ++a) {
        if (kZeroButtons[a] != id)
            continue;
        const int32_t raw = RawPositionByMotorType(a);
        AXB_ClearEncoderErrors(0, static_cast<uint8_t>(1u << a));
        g_offset[a] = AddCounts(raw, -machine_zero_offset[a]);
    }
}

void ContinuousGotoStep(uint8_t moveStatus, uint8_t errorByte)
{
    const uint32_t now = NowMs();
    if ((moveStatus & kMoveComplete) && errorByte == 0 && g_contGotoState == kContGotoMoving) {
        g_contGotoState = kContGotoDwelling;
        g_dwellDeadline = now + kDwellMs;
    } else if (g_contGotoState != kContGotoDwelling) {
        return;
    }
    // Wrap-safe "now is past the deadline".
    if (static_cast<int32_t>(now - g_dwellDeadline) <= 0)
        return;
    const int axis = g_radio_last;
    const std::optional<int32_t> target = NextGotoTarget(axis);
    if (!target) {
        g_contGotoState = kContGotoOff;
        return;
    }
    g_maxFollowing[axis] = 0;
    GotoTarget(axis, *target);
    LogSapa("X3:SAPA(0,", axis);
    g_contGotoState = kContGotoMoving;
}

void TraceStep()
{
    if (!g_traceOn)
        return;
    LogAxisRecordLine("XGACV", 0, static_cast<int32_t>(NowMs() - static_cast<uint32_t>(g_traceStartTick)),
                      g_traceSequence);
    // The trace also ends once the zoom has found its home.
    if (g_zoomHomed)
        g_traceOn = false;
}

void OnVideoButton(HWND)
{
    wchar_t command[] = L"\"lumaview.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        g_log.Write("Failed to create lumaview window\n");
        return;
    }
    // Only the latest process is kept; the earlier ones run on by themselves.
    CloseVideoProcess();
    CloseHandle(process.hThread);
    process.hThread = nullptr;
    g_videoProcess = process;
}

void CloseVideoProcess()
{
    if (g_videoProcess.hProcess)
        CloseHandle(g_videoProcess.hProcess);
    if (g_videoProcess.hThread)
        CloseHandle(g_videoProcess.hThread);
    g_videoProcess = PROCESS_INFORMATION{};
}

void ResetMotionCommands()
{
    g_dwellDeadline = 0;
    CloseVideoProcess();
}
