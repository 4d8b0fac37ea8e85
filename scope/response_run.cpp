#include "scope/response_run.h"

#include <windows.h>

#include <cstdio>

#include "board/axis_commands.h"
#include "board/axis_position.h"
#include "board/flash_baseline.h"
#include "core/goto_sequence.h"
#include "core/motion_state.h"
#include "core/param_numbers.h"
#include "core/param_table.h"
#include "core/response_capture.h"
#include "core/session_state.h"
#include "core/status_bits.h"
#include "core/unit_conversion.h"
#include "driver/axb400.h"
#include "homing/auto_home.h"
#include "infra/clock.h"
#include "scope/scope_acquisition.h"

namespace {

// A leg counts as under way once the board has reported it moving, or after
// this long (a leg too short for one tick of motion).
constexpr uint32_t kLegStartGraceMs = 200;
// The axis standing in the capture before the first leg: three samples.
constexpr uint32_t kLeadInMs = 30;

enum class Phase : uint8_t { kIdle, kMoving, kDwelling };

struct Run {
    Phase phase = Phase::kIdle;
    ResponseRunSettings settings;
    ResponseRunResult result;   // what is known at the start
    int32_t startRaw = 0, farRaw = 0;
    int legsLeft = 0;
    bool outward = false;       // the leg under way goes to farRaw
    bool sawMotion = false;
    uint32_t phaseStart = 0;
};
Run g_run;
std::deque<ScopeCapture> g_captures;
uint64_t g_runsCompleted = 0;

int32_t DistanceCounts(const ResponseRunSettings& settings)
{
    const int kind = g_unitMode == kUnitInch ? kConvCountsInch : g_unitMode == kUnitMm ? kConvCountsMm : kConvRaw;
    return UnitsToCounts(static_cast<float>(settings.distance), settings.axis, kind);
}

// Whether the flash holds the parameters as they are now, as far as the
// program knows: nothing written since connecting or the last flash save.
bool ParamsSavedToFlash() { return HasFlashBaseline() && UnsavedChanges().Total() == 0; }

std::string ClockText()
{
    SYSTEMTIME t{};
    GetLocalTime(&t);
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", t.wHour, t.wMinute, t.wSecond);
    return text;
}

void SendLeg()
{
    g_run.outward = !g_run.outward;
    --g_run.legsLeft;
    g_run.phase = Phase::kMoving;
    g_run.sawMotion = false;
    g_run.phaseStart = NowMs();
    GotoTarget(g_run.settings.axis, g_run.outward ? g_run.farRaw : g_run.startRaw);
}

ResponseRunResult Finish()
{
    g_run.phase = Phase::kIdle;
    ResponseRunResult result = std::move(g_run.result);
    result.capture = SnapshotScopeCapture();
    StopScopeAcquisition();
    const int axis = result.axis;
    const auto samples = ResponseSamplesOf(result.capture, axis, g_resolution[axis]);
    result.figures = MeasureCapture(samples, static_cast<int32_t>(g_param[AxisParam(kParamTargetWindow, axis)]));
    result.overshootMean = OvershootInUnits(result.figures.mean, axis, g_unitMode);
    result.overshootWorst = OvershootInUnits(result.figures.worst, axis, g_unitMode);
    g_captures.push_back(result.capture);
    ++g_runsCompleted;
    if (g_captures.size() > kResponseCapturesKept)
        g_captures.pop_front();
    return result;
}

} // namespace

std::optional<std::wstring> ResponseRunRefusal(const ResponseRunSettings& s)
{
    if (IsAutoHomeRunning())
        return L"No run while auto-home is active.";
    if (g_multiGotoRunning)
        return L"No run while a goto window's run is active.";
    if (g_contGotoState != kContGotoOff)
        return L"No run while continuous goto is active.";
    if (g_param[AxisParam(kParamCountsPerMm, s.axis)] == 0)
        return L"The axis has no counts per millimetre.";
    if (s.distance == 0 || s.velocityPercent <= 0 || s.dwellMs < 0 || s.repetitions <= 0)
        return L"Distance, velocity, dwell and repetitions must be more than 0.";
    const int64_t target = int64_t(RawPosition(s.axis)) + DistanceCounts(s);
    const auto plus = static_cast<int32_t>(g_param[AxisParam(kParamFencePlus, s.axis)]);
    const auto minus = static_cast<int32_t>(g_param[AxisParam(kParamFenceMinus, s.axis)]);
    if (target > plus || target < minus)
        return L"The distance would leave the software fences.";
    return std::nullopt;
}

void StartResponseRun(const ResponseRunSettings& settings)
{
    const int axis = settings.axis;
    g_run = Run{};
    g_run.settings = settings;
    g_run.startRaw = RawPosition(axis);
    g_run.farRaw = AddCounts(g_run.startRaw, DistanceCounts(settings));
    g_run.legsLeft = 2 * settings.repetitions;
    ResponseRunResult& r = g_run.result;
    r.axis = axis;
    r.time = ClockText();
    r.p = g_param[AxisParam(kParamServoP, axis)];
    r.d = g_param[AxisParam(kParamServoD, axis)];
    r.i = g_param[AxisParam(kParamServoI, axis)];
    r.savedToFlash = ParamsSavedToFlash();
    // Roll keeps the whole run from its first tick, up to the longest length.
    ScopeTriggerSettings trigger;
    trigger.mode = ScopeMode::kRoll;
    trigger.axis = axis;
    trigger.lengthS = kScopeMaxLengthS;
    StartScopeAcquisition(ResponseChannels(axis), trigger);
    SendVelocityPercent(axis, settings.velocityPercent);
    // The first leg goes after a short dwell of its own: the capture, which
    // takes its first sample on the next tick, then holds the axis standing
    // at the command, and a leg shorter than a tick is not already over.
    g_run.phase = Phase::kDwelling;
    g_run.phaseStart = NowMs() - static_cast<uint32_t>(settings.dwellMs) + kLeadInMs;
}

void StopResponseRun()
{
    if (g_run.phase == Phase::kIdle)
        return;
    StopAxes(kAxisCount);
    g_run.legsLeft = 0;
    g_run.phase = Phase::kDwelling;
    g_run.phaseStart = NowMs() - static_cast<uint32_t>(g_run.settings.dwellMs);
}

bool ResponseRunActive() { return g_run.phase != Phase::kIdle; }

std::optional<ResponseRunResult> ResponseRunTick()
{
    const uint32_t elapsed = NowMs() - g_run.phaseStart;
    switch (g_run.phase) {
    case Phase::kIdle:
        return std::nullopt;
    case Phase::kMoving: {
        uint8_t status = 0, error = 0;
        AXB_GetMoveStatus(0, g_run.settings.axis, &status, &error);
        g_run.sawMotion |= (status & kMoveComplete) == 0;
        // A leg the board ended in error (a limit, a following error) ends the run.
        if (error != 0)
            g_run.legsLeft = 0;
        if ((status & kMoveComplete) && (g_run.sawMotion || elapsed >= kLegStartGraceMs)) {
            g_run.phase = Phase::kDwelling;
            g_run.phaseStart = NowMs();
        }
        return std::nullopt;
    }
    case Phase::kDwelling:
        if (elapsed < static_cast<uint32_t>(g_run.settings.dwellMs))
            return std::nullopt;
        if (g_run.legsLeft == 0)
            return Finish();
        SendLeg();
        return std::nullopt;
    }
    return std::nullopt;
}

const std::deque<ScopeCapture>& MoveResponseCapturesSinceStart() { return g_captures; }
uint64_t MoveResponseRunsCompleted() { return g_runsCompleted; }

void ResetResponseRun()
{
    g_run = Run{};
    g_captures.clear();
    g_runsCompleted = 0;
}
