#include "app/main_timer.h"

#include "app/home_commands.h"
#include "app/lifecycle.h"
#include "app/motion_commands.h"
#include "board/axis_position.h"
#include "board/board_ready.h"
#include "core/auto_home_state.h"
#include "core/goto_sequence.h"
#include "core/motion_state.h"
#include "core/session_state.h"
#include "core/status_errors_seen.h"
#include "core/unit_conversion.h"
#include "driver/axb400.h"
#include "homing/auto_home.h"
#include "homing/reference_marks.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "res/resource.h"
#include "scope/scope_acquisition.h"
#include "ui/control_text.h"
#include "zoom/zoom.h"

#include <bit>
#include <cstdio>
#include <cstdlib>

uint32_t g_tickCount;
int32_t g_posHistory[kAxisCount][kPositionHistory];

namespace {

constexpr int kBlinkPeriodTicks = 30;
constexpr int kVelocityPeriodTicks = 15;
constexpr int kReadoutIds[kAxisCount] = {IDC_READOUT_X, IDC_READOUT_Y, IDC_READOUT_Z, IDC_READOUT_Q, IDC_READOUT_ZOOM};
constexpr uint32_t kSystemStatusCounted = 0xFFFFu & ~kSystemStatusUnusedBit;

ShownTexts g_shownReadouts;
bool g_boardAnswering = true;
int g_historyIndex;
int32_t g_lastAverage;
uint32_t g_lastVelocityTick;

int CountErrorBits(int axis)
{
    uint8_t moveStatus = 0, errorByte = 0;
    AXB_GetMoveStatus(0, axis, &moveStatus, &errorByte);
    int count = std::popcount(static_cast<unsigned>(moveStatus & 0xF0)) +
                std::popcount(static_cast<unsigned>(errorByte & 0x0F));
    if (axis < kEncoderAxisCount) {
        uint16_t axisStatus = 0;
        AXB_GetAxisStatus(0, axis, &axisStatus);
        count += std::popcount(static_cast<unsigned>(axisStatus & kAxisStatusEncoderErrors));
    }
    uint32_t system = 0;
    AXB_GetSystemStatus(0, &system);
    NoteStatusReading(NowMs64(), "Status", axis, moveStatus, errorByte, system);
    return count + std::popcount(system & kSystemStatusCounted);
}

// With errors present the caption alternates between the count and "Status"
// every 15 ticks; without, it settles on "Status".
void BlinkStatus(HWND wnd)
{
    if (g_tickCount % kBlinkPeriodTicks == 0) {
        int errors = CountErrorBits(g_radio_last);
        if (errors != 0) {
            char text[16];
            std::snprintf(text, sizeof text, "(%d)", errors);
            ShowReadout(wnd, IDC_STATUS, text);
        }
    } else if (g_tickCount % kBlinkPeriodTicks == kBlinkPeriodTicks / 2) {
        ShowReadout(wnd, IDC_STATUS, "Status");
    }
}

// One reading of every axis per tick serves the history, the readouts and
// the current axis's position.
void SamplePositions(AxisSample (&samples)[kAxisCount])
{
    for (int a = 0; a < kAxisCount; ++a) {
        samples[a] = SampleAxis(a);
        g_posHistory[a][g_historyIndex] = samples[a].raw;
    }
    g_historyIndex = (g_historyIndex + 1) % kPositionHistory;
}

void ShowAxisReadouts(HWND wnd, const AxisSample (&samples)[kAxisCount])
{
    char text[128];
    for (int a = 0; a < kAxisCount; ++a) {
        FormatAxisReadout(text, sizeof text, a, samples[a]);
        ShowReadout(wnd, kReadoutIds[a], text);
    }
}

void ShowVelocity(HWND wnd)
{
    const int axis = g_radio_last;
    int64_t sum = 0;
    for (int32_t p : g_posHistory[axis])
        sum += p;
    const int32_t average = static_cast<int32_t>(sum / kPositionHistory);
    const uint32_t now = NowMs();
    if (now != g_lastVelocityTick) {
        float distance = static_cast<float>(average - g_lastAverage) * g_resolution[axis];
        if (g_unitMode == kUnitInch)
            distance /= kMmPerInchF;
        const float velocity = distance / static_cast<float>(now - g_lastVelocityTick) * 1000.0f;
        char text[128];
        std::snprintf(text, sizeof text, "%.4f", static_cast<double>(velocity));
        ShowReadout(wnd, IDC_VELOCITY, text);
    }
    g_lastAverage = average;
    g_lastVelocityTick = now;
}

void ShowPositionAndFollowing(HWND wnd, int32_t raw)
{
    const int axis = g_radio_last;
    char text[128];
    FormatLength(text, sizeof text, UserPosition(axis, raw), axis);
    ShowReadout(wnd, IDC_POSITION, text);

    int32_t lag = 0;
    AXB_GetFollowingError(0, axis, &lag);
    if (std::llabs(lag) > std::llabs(g_maxFollowing[axis])) {
        g_maxFollowing[axis] = lag;
        FormatLength(text, sizeof text, lag, axis);
        ShowReadout(wnd, IDC_MAX_FOLLOWING, text);
    }
    FormatLength(text, sizeof text, lag, axis);
    ShowReadout(wnd, IDC_FOLLOWING_ERROR, text);
}

// Whatever was under way cannot go on without the board; a homing run
// that ends so has failed.
void StopSequences()
{
    if (IsAutoHomeRunning()) {
        g_homingAborted = true;
        CancelAutoHome();
    }
    g_multiGotoRunning = 0;
    MotionAndZoomFlagsOff();
}

void FollowBoardPresence(HWND wnd)
{
    const bool answering = !BoardLost();
    if (answering == g_boardAnswering)
        return;
    g_boardAnswering = answering;
    if (answering) {
        g_log.Write("The board answers again\n");
    } else {
        StopSequences();
        g_log.Write("The board does not answer: the running sequences are stopped\n");
    }
    ShowBoardAnswering(wnd, answering);
}

} // namespace

void OnMainTimer(HWND wnd)
{
    if (!g_boardPresent)
        return;
    ++g_tickCount;
    BlinkStatus(wnd);
    AxisSample samples[kAxisCount];
    SamplePositions(samples);
    ShowAxisReadouts(wnd, samples);
    if (g_tickCount % kVelocityPeriodTicks == 0)
        ShowVelocity(wnd);
    ShowPositionAndFollowing(wnd, samples[g_radio_last].raw);
    uint8_t moveStatus = 0, errorByte = 0;
    AXB_GetMoveStatus(0, g_radio_last, &moveStatus, &errorByte);
    ZoomTimer();
    AutoHomeTimer();
    TraceStep();
    ScopeTick();
    ContinuousHomeStep(moveStatus, errorByte);
    ContinuousGotoStep(moveStatus, errorByte);
    RefMarkLogPoll();
    FollowBoardPresence(wnd);
    // The largest lag and the status caption are set only when they change.
    g_shownReadouts.WriteDue(wnd);
}

void ShowReadout(HWND wnd, int id, const char* text) { g_shownReadouts.Set(wnd, id, text); }

void ForgetShownReadouts() { g_shownReadouts.Forget(); }

void ResetMainTimer()
{
    ForgetShownReadouts();
    g_tickCount = 0;
    g_historyIndex = 0;
    g_lastAverage = 0;
    g_lastVelocityTick = 0;
    g_boardAnswering = true;
    for (auto& axis : g_posHistory)
        for (int32_t& p : axis)
            p = 0;
}
