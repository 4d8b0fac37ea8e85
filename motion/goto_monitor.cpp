#include "motion/goto_monitor.h"

#include "board/axis_position.h"
#include "board/axis_record_line.h"
#include "board/board_lock.h"
#include "board/axis_commands.h"
#include "board/move_status.h"
#include "core/goto_history.h"
#include "core/goto_legs.h"
#include "core/goto_lines.h"
#include "core/motion_state.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "core/velocity_word.h"
#include "driver/axb400.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "motion/goto_controls.h"
#include "ui/control_text.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kTraceAxes = 3;
constexpr const char* kTracePrefixes[kTraceAxes] = {"XGACV", "YGACV", "ZGACV"};
constexpr uint16_t kRetryPercent = 100;
constexpr size_t kTextCapacity = 128;

ShownTexts g_shownReadouts;

// What one tick read of an axis.
struct AxisReading {
    int32_t position = 0;   // user counts
    int32_t lag = 0;
    uint8_t moveStatus = 0;
    uint8_t errorByte = 0;
    bool overLimit = false;
};
using Readings = AxisReading[kGotoAxisCount];

class TickView {
public:
    TickView(HWND wnd, GotoWindowKind kind) : wnd_(wnd), kind_(kind) {}

    bool Circular() const { return kind_ == GotoWindowKind::kCircular; }
    bool Random() const
    {
        return kind_ == GotoWindowKind::kMultiAxis && IsDlgButtonChecked(wnd_, IDC_MAG_RANDOM) == BST_CHECKED;
    }
    // The Circular goto window has none of the readouts.
    void Show(int id, const char* text) const
    {
        if (kind_ == GotoWindowKind::kMultiAxis)
            g_shownReadouts.Set(wnd_, id, text);
    }
    void ShowHex(int id, uint32_t value) const
    {
        char text[kTextCapacity];
        std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(value));
        Show(id, text);
    }

private:
    HWND wnd_;
    GotoWindowKind kind_;
};

void LogTraceLines()
{
    if (!g_traceOn)
        return;
    BoardLockGuard lock;
    if (!lock)
        return;
    for (int a = 0; a < kTraceAxes; ++a)
        LogAxisRecordLine(kTracePrefixes[a], a, static_cast<int32_t>(NowMs() - static_cast<uint32_t>(g_traceStartTick)),
                          g_traceSequence);
    ++g_traceSequence;
}

void ReadPositionsAndVelocities(const TickView& view, Readings& r, uint64_t now)
{
    const bool sampled = g_watch_time_last != now;
    const auto interval = static_cast<uint32_t>(now - g_watch_time_last);
    char text[kTextCapacity];
    for (int a = 0; a < kGotoAxisCount; ++a) {
        const AxisSample sample = SampleAxis(a);
        r[a].position = UserPosition(a, sample.raw);
        FormatAxisReadout(text, sizeof text, a, sample);
        view.Show(kGotoAxisControls[a].position, text);
        if (sampled) {
            const auto moved = static_cast<float>(static_cast<int64_t>(r[a].position) - g_velSamplePos[a]);
            const float velocity = moved / static_cast<float>(now - g_watch_time_last) * g_resolution[a] * 1000.0f;
            FormatDisplayMm(text, sizeof text, velocity);
            view.Show(kGotoAxisControls[a].velocity, text);
            if (a == kAxisX && view.Circular())
                LogPrintf(g_log, "  watch_time-g_watch_time_last==%u\n", static_cast<unsigned>(interval));
        }
        g_velSamplePos[a] = r[a].position;
    }
    g_watch_time_last = now;
}

void ReadLags(const TickView& view, Readings& r)
{
    char text[kTextCapacity];
    for (int a = 0; a < kGotoAxisCount; ++a) {
        AXB_GetFollowingError(0, a, &r[a].lag);
        FormatLength(text, sizeof text, r[a].lag, a);
        view.Show(kGotoAxisControls[a].lag, text);
        if (std::llabs(g_maxFollowing[a]) < std::llabs(r[a].lag)) {
            g_maxFollowing[a] = r[a].lag;
            view.Show(kGotoAxisControls[a].maxLag, text);
        }
    }
}

void LogFollowingError(const char* kind, int axis, const AxisReading& r, uint32_t systemStatus)
{
    LogPrintf(g_log, "%s following error:axis,%d,pos,%d,target,%d,status,%02X,error,%02X,lag,%d,sytem_status,%02X\n",
              kind, axis, r.position, g_multiGotoTarget[axis], r.moveStatus, r.errorByte, r.lag,
              static_cast<unsigned>(systemStatus));
}

// One retry per leg, at full speed, to the recorded targets.
void RetryLeg(int axis, const AxisReading& r)
{
    uint32_t systemStatus = 0;
    AXB_GetSystemStatus(0, &systemStatus);
    DumpGotoHistory(axis);
    LogFollowingError("reported", axis, r, systemStatus);
    LogPrintf(g_log, "retry goto on axis %d\n", axis);
    ++g_followErrorRetries;
    LegCounts targets{};
    for (int a = 0; a < kGotoAxisCount; ++a)
        targets[a] = g_multiGotoTarget[a];
    SendLeg(targets, WholePercentVelocityWord(kRetryPercent, g_velScale));
}

// True when the leg was sent again.
bool OnReportedError(const TickView& view, int axis, const AxisReading& r)
{
    LogPrintf(g_log, "Goto Stopped because axis %d has error %X\n", axis, r.errorByte);
    if (view.Random() && r.errorByte == kErrorFollowing && g_followErrorRetries == 0) {
        RetryLeg(axis, r);
        return true;
    }
    g_multiGotoRunning = 0;
    return false;
}

// True when a retry was sent this tick.
bool ReadMoveStatus(const TickView& view, Readings& r)
{
    bool retried = false;
    for (int a = 0; a < kGotoAxisCount; ++a) {
        AXB_GetMoveStatus(0, a, &r[a].moveStatus, &r[a].errorByte);
        view.ShowHex(kGotoAxisControls[a].moveStatus, r[a].moveStatus);
        view.ShowHex(kGotoAxisControls[a].errorByte, r[a].errorByte);
        if ((r[a].moveStatus & kMoveAxisActive) && r[a].errorByte != 0 && g_multiGotoRunning)
            retried = OnReportedError(view, a, r[a]) || retried;
    }
    return retried;
}

void ShowCounterStatus(const TickView& view)
{
    for (int a = 0; a < kGotoAxisCount; ++a) {
        uint16_t status = 0;
        AXB_GetAxisStatus(0, a, &status);
        view.ShowHex(kGotoAxisControls[a].counterStatus, status);
    }
}

uint32_t CheckSystemStatus(const TickView& view)
{
    uint32_t status = 0;
    AXB_GetSystemStatus(0, &status);
    view.ShowHex(IDC_MAG_SYSTEM, status);
    if (status != 0 && g_multiGotoRunning) {
        LogPrintf(g_log, "Goto Stopped because of system error error %X\n", static_cast<unsigned>(status));
        g_multiGotoRunning = 0;
    }
    return status;
}

// Each axis against its own following-error limit.
void CountUnreportedLag(Readings& r)
{
    for (int a = 0; a < kGotoAxisCount; ++a) {
        PushGotoSample(a, r[a].lag, r[a].position, g_multiGotoTarget[a], r[a].moveStatus, r[a].errorByte);
        r[a].overLimit = LagOverLimit(r[a].moveStatus, r[a].errorByte, r[a].lag, FollowingErrorLimit(a));
        if (r[a].overLimit && ++g_lagOverLimitCount[a] == 5)
            DumpGotoHistory(a);
    }
}

bool LegHasEnded(const Readings& r)
{
    uint8_t moveStatus[kGotoAxisCount];
    bool over[kGotoAxisCount];
    for (int a = 0; a < kGotoAxisCount; ++a) {
        moveStatus[a] = r[a].moveStatus;
        over[a] = r[a].overLimit;
    }
    return LegEnded(moveStatus, over, g_waitMoveComplete != 0);
}

void LogUnreportedLag(const Readings& r, uint32_t systemStatus)
{
    for (int a = 0; a < kGotoAxisCount; ++a)
        if ((r[a].moveStatus & kMoveAxisActive) && r[a].overLimit)
            LogFollowingError("Unreported", a, r[a], systemStatus);
    for (int32_t& count : g_lagOverLimitCount)
        count = 0;
}

void LogLeg(const LegCounts& counts, const Readings& r, uint8_t probe)
{
    const uint64_t t = NowMs64();
    LegLine line;
    line.number = g_gotoMoveCount++;
    line.sinceLastMs = static_cast<uint32_t>(t - g_lastMoveTick);
    line.sinceStartMs = static_cast<uint32_t>(t - g_sequenceStartTick);
    for (int a = 0; a < 3; ++a) {
        line.targetMm[a] = static_cast<float>(counts[a]) * g_resolution[a];
        line.moveStatus[a] = r[a].moveStatus;
    }
    line.probe = probe;
    line.xMm = static_cast<float>(UserPosition(kAxisX, RawPosition(kAxisX))) * g_resolution[kAxisX];
    char text[kLegLineCapacity];
    FormatLegLine(text, sizeof text, line);
    g_log.Write(text);
    for (int a = 0; a < kGotoAxisCount; ++a)
        g_maxFollowing[a] = 0;
    g_lastMoveTick = t;
}

void StartNextLeg(const TickView& view, const Readings& r)
{
    // The main window may have set a target beyond the counter meanwhile.
    if (!LegTargetsFit()) {
        g_multiGotoRunning = 0;
        return;
    }
    const LegCounts counts = view.Random() ? ChooseRandomLeg() : ChooseFixedLeg(kGotoAxisCount);
    uint8_t probe = 0;
    AXB_GetProbeStatus(0, &probe);
    SendLeg(counts, RoundedVelocityWord(g_velScale, g_velPercent[kAxisX]));
    LogLeg(counts, r, probe);
}

} // namespace

void GotoMonitorTick(HWND wnd, GotoWindowKind kind)
{
    if (!g_boardPresent)
        return;
    const TickView view(wnd, kind);
    LogTraceLines();
    Readings r;
    ReadPositionsAndVelocities(view, r, NowMs64());
    ReadLags(view, r);
    const bool retried = ReadMoveStatus(view, r);
    ShowCounterStatus(view);
    const uint32_t systemStatus = CheckSystemStatus(view);
    CountUnreportedLag(r);
    // The statuses were read before a retry went out: the axis that stopped
    // with the error looks finished, yet the retry is this leg's move now.
    // A leg that never ends keeps the run waiting until it is stopped.
    if (retried || !LegHasEnded(r) || !g_multiGotoRunning || IsTPRetracting())
        return;
    LogUnreportedLag(r, systemStatus);
    StartNextLeg(view, r);
}

void PushGotoSample(int axis, int32_t lag, int32_t position, int32_t target, uint8_t moveStatus, uint8_t errorByte)
{
    GotoHistory[axis].Push({lag, position, target, moveStatus, errorByte, NowMs64()});
}

void DumpGotoHistory(int axis)
{
    LogPrintf(g_log, "Logging past %d lag values and pos values and target values\n", kGotoHistoryLength);
    char line[kTextCapacity];
    for (int age = kGotoHistoryLength - 1; age >= 0; --age) {
        FormatGotoSample(line, sizeof line, GotoHistory[axis].At(age));
        g_log.Write(line);
    }
}

bool LegTargetsFit()
{
    bool fit = true;
    for (int a = 0; a < kGotoAxisCount; ++a)
        fit = GotoTargetFits(a, g_targetMm[a]) && fit;
    return fit;
}

void SendLeg(const LegCounts& counts, uint16_t velocity)
{
    AXB_SetAxisPosLin(0, UserToRawCounts(kAxisX, counts[kAxisX]), UserToRawCounts(kAxisY, counts[kAxisY]),
                      UserToRawCounts(kAxisZ, counts[kAxisZ]), UserToRawCounts(kAxisQ, counts[kAxisQ]), velocity);
}

void ForgetGotoReadouts() { g_shownReadouts.Forget(); }

void ResetGotoMonitor()
{
    ResetGotoSequence();
    ResetGotoHistory();
    ForgetGotoReadouts();
    g_legRandom.Seed(1);
}
