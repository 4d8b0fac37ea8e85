#include "motion/multi_axis_goto.h"

#include "board/axis_position.h"
#include "board/axis_commands.h"
#include "core/auto_home_state.h"
#include "core/flash_items.h"
#include "core/goto_legs.h"
#include "core/motion_state.h"
#include "core/number_text.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "core/velocity_word.h"
#include "driver/axb400.h"
#include "homing/auto_home.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "infra/settings.h"
#include "motion/goto_controls.h"
#include "motion/goto_monitor.h"
#include "motion/watch_window.h"
#include "res/resource.h"
#include "scope/scope_window.h"
#include "ui/control_text.h"
#include "ui/dialog.h"
#include "ui/fields.h"
#include "ui/main_window_handle.h"
#include "ui/modeless.h"

#include <cwchar>
#include <iterator>

HWND g_multiGotoWnd;

namespace {

constexpr UINT kTickMs = 1000;
constexpr size_t kTextCapacity = 128;
constexpr wchar_t kSettingsSection[] = L"stagetune";
constexpr char kTraceHeader[] =
    "Time,Target,Actual,Nominal,Lag,V-Soll,V-Ist,Part-V,Part-P,Part-I,Part-D,Base,PID,R-Cnt,Flags,Status,Cnt\n";

struct UnitCaption {
    int id;
    const wchar_t* inch;
    const wchar_t* other;
};

constexpr UnitCaption kUnitCaptions[] = {
    {IDC_MAG_POS_CAPTION, L"Position (in)", L"Position (mm)"},
    {IDC_MAG_VEL_CAPTION, L"Velocity (in)", L"Velocity (mm)"},
    {IDC_MAG_LAG_CAPTION, L"Following Error (in)", L"Following Error (mm)"},
    {IDC_MAG_MAX_LAG_CAPTION, L"Max Following (in)", L"Max Following (mm)"},
    {IDC_MAG_SET_TARGET, L"Set Target (in)", L"Set Target (mm)"},
};

// What the window filled in: a field the technician did not change keeps
// the value behind it (a rounded "%.4f" or inch text read back would move
// a target by a fraction of a count), and the value it showed, not one the
// main window set meanwhile: what is sent is what is shown.
ShownFields g_fields;
float g_shownTargetMm[kGotoAxisCount];
float g_shownVelPercent[kGotoAxisCount];

bool InchMode() { return g_unitMode == kUnitInch; }

const GotoAxisControls* AxisOfButton(int id)
{
    for (const GotoAxisControls& row : kGotoAxisControls)
        if (row.gotoButton == id || row.zeroButton == id)
            return &row;
    return nullptr;
}

void ShowTarget(HWND wnd, int axis)
{
    wchar_t text[kTextCapacity];
    const double mm = g_targetMm[axis];
    if (InchMode())
        std::swprintf(text, std::size(text), L"%.5f", mm / kMmPerInch);
    else
        std::swprintf(text, std::size(text), L"%.4f", mm);
    g_fields.ShowText(wnd, kGotoAxisControls[axis].target, text);
    g_shownTargetMm[axis] = g_targetMm[axis];
}

enum class CopyToMain { kNo, kYes };

// With kYes the field of the main window's current axis is copied to the
// main window's Target field.
void ReadTarget(HWND wnd, int axis, CopyToMain copy)
{
    const int id = kGotoAxisControls[axis].target;
    if (const std::optional<float> value = g_fields.TakeTypedNumber(wnd, id, LeadingFloat))
        g_shownTargetMm[axis] = InchMode() ? *value * kMmPerInchF : *value;
    g_targetMm[axis] = g_shownTargetMm[axis];
    if (copy == CopyToMain::kYes && axis == g_radio_last && g_mainWnd)
        SetControlTextIfChanged(g_mainWnd, IDC_TARGET, FieldText(wnd, id).c_str());
}

void ReadAllTargets(HWND wnd, CopyToMain copy)
{
    for (int a = 0; a < kGotoAxisCount; ++a)
        ReadTarget(wnd, a, copy);
}

void ReadVelPercent(HWND wnd, int axis)
{
    if (const std::optional<float> value = g_fields.TakeTypedNumber(wnd, kGotoAxisControls[axis].velPercent, LeadingFloat))
        g_shownVelPercent[axis] = *value;
    g_velPercent[axis] = g_shownVelPercent[axis];
}

// The board hears of a velocity only when its whole percent changed.
void ApplyVelocityPercent(int axis) { SendVelocityPercentIfChanged(axis, TruncateToInt32(g_velPercent[axis])); }

void StopRun() { g_multiGotoRunning = 0; }

void SetSoftwareZero(int axis)
{
    g_offset[axis] = AddCounts(RawPositionByMotorType(axis), -machine_zero_offset[axis]);
}

void OnGoto(HWND wnd)
{
    if (RefusedWhileAutoHoming("Multi Axis Goto"))
        return;
    for (int a = 0; a < kGotoAxisCount; ++a) {
        ReadTarget(wnd, a, CopyToMain::kNo);
        ReadVelPercent(wnd, a);
        ApplyVelocityPercent(a);
    }
    if (!LegTargetsFit())
        return;
    const LegCounts counts = ChooseFixedLeg(kGotoAxisCount);
    SendLeg(counts, WholePercentVelocityWord(TruncateToInt32(g_velPercent[kAxisX]), g_velScale));
    LogPrintf(g_log, "AXB_SetAxisPosLin:%d\n", UserToRawCounts(kAxisQ, counts[kAxisQ]));
    for (int a = 0; a < kGotoAxisCount; ++a)
        g_maxFollowing[a] = 0;
}

// The button toggles. The first leg writes no leg line; X alone decides
// whether it goes to the user zero.
void OnContinuousGoto(HWND wnd)
{
    if (g_multiGotoRunning) {
        StopRun();
        return;
    }
    if (RefusedWhileAutoHoming("Multi Axis Continuous Goto"))
        return;
    ReadVelPercent(wnd, kAxisX);
    ReadAllTargets(wnd, CopyToMain::kYes);
    if (!LegTargetsFit())
        return;
    g_gotoMoveCount = 0;
    const uint64_t now = NowMs64();
    g_lastMoveTick = g_sequenceStartTick = now;
    LegCounts counts = ChooseFixedLeg(1);
    if (IsBoxChecked(wnd, IDC_MAG_RANDOM)) {
        g_legRandom.Seed(static_cast<uint32_t>(now));
        // Recorded like every later leg: a retry in this leg sends these
        // targets, not those of an earlier run.
        counts = DrawRandomLeg();
        g_followErrorRetries = 0;
    }
    SendLeg(counts, RoundedVelocityWord(g_velScale, g_velPercent[kAxisX]));
    g_multiGotoRunning = 1;
}

void OnAxisGoto(HWND wnd, int id)
{
    if (RefusedWhileAutoHoming("Axis Goto"))
        return;
    const int axis = AxisOfButton(id)->axis;
    ReadTarget(wnd, axis, CopyToMain::kYes);
    int32_t target = UserToRawCounts(axis, 0);
    if (g_targetMm[axis] == g_lastTargetMm[axis]) {
        g_lastTargetMm[axis] = 0.0f;
    } else {
        if (!GotoTargetFits(axis, g_targetMm[axis]))
            return;
        g_lastTargetMm[axis] = g_targetMm[axis];
        target = *GotoRawCounts(g_targetMm[axis], axis);
    }
    ReadVelPercent(wnd, axis);
    ApplyVelocityPercent(axis);
    GotoTarget(axis, target);
    if (g_logAutoHomeStates)
        LogPrintf(g_log, "X%d:SAPA(0,%d)\n", 4 + axis, axis);
}

void OnStop(HWND)
{
    StopRun();
    StopAxesAndAutoHome(kGotoAxisCount);
}

void OnSetHome(HWND)
{
    StopRun();
    for (int a = 0; a < kGotoAxisCount; ++a)
        SetSoftwareZero(a);
    AXB_ClearEncoderErrors(0, static_cast<uint8_t>(kEncoderAxesMask));
}

void OnZero(HWND, int id)
{
    StopRun();
    const int axis = AxisOfButton(id)->axis;
    SetSoftwareZero(axis);
    AXB_ClearEncoderErrors(0, static_cast<uint8_t>(AxisBit(axis)));
}

void OnSetTarget(HWND wnd)
{
    for (int a = 0; a < kGotoAxisCount; ++a) {
        g_targetMm[a] = static_cast<float>(UserPosition(a, RawPosition(a))) * g_resolution[a];
        ShowTarget(wnd, a);
    }
}

void OnWatch(HWND) { OpenWatchWindow(); }
void OnScope(HWND) { SendGotoRunToScope(); }

// The targets are kept for the next opening and for the main window.
void OnExit(HWND wnd)
{
    StopRun();
    ReadAllTargets(wnd, CopyToMain::kYes);
    CloseModeless(g_multiGotoWnd, wnd);
}

// However the window goes, the run it drives stops and so does its trace.
void OnDestroyed(HWND)
{
    StopRun();
    g_traceOn = false;
}

void StartTraceIfAsked()
{
    if (GetSettingInt(kSettingsSection, L"CreateZoomLogThread", L"0") == 0)
        return;
    g_traceStartTick = NowMs64();
    g_traceSequence = 0;
    g_traceOn = true;
    g_log.Write(kTraceHeader);
}

void OnInit(HWND wnd)
{
    g_waitMoveComplete =
        static_cast<uint8_t>(GetSettingInt(kSettingsSection, L"WaitForMoveCompleteBeforeNextGoto", L"0"));
    g_backToZeroState = static_cast<uint8_t>(GetSettingInt(kSettingsSection, L"GotoBackToZero", L"0"));
    StopRun();
    g_fields.Forget();
    ForgetGotoReadouts();
    for (const GotoAxisControls& row : kGotoAxisControls) {
        ShowTarget(wnd, row.axis);
        wchar_t text[kTextCapacity];
        std::swprintf(text, std::size(text), L"%.4f", static_cast<double>(g_velPercent[row.axis]));
        g_fields.ShowText(wnd, row.velPercent, text);
        g_shownVelPercent[row.axis] = g_velPercent[row.axis];
        SetDlgItemTextW(wnd, row.maxLag, L"0.0000");
    }
    for (const UnitCaption& caption : kUnitCaptions)
        SetDlgItemTextW(wnd, caption.id, InchMode() ? caption.inch : caption.other);
    CheckRadioButton(wnd, IDC_MAG_FIXED, IDC_MAG_RANDOM, IDC_MAG_FIXED);
    StartTimer(wnd, IDT_TICK, kTickMs);
    StartTraceIfAsked();
}

void OnTick(HWND wnd) { GotoMonitorTick(wnd, GotoWindowKind::kMultiAxis); }

constexpr CommandRoute kRoutes[] = {
    {IDC_MAG_GOTO, WindowHandler<OnGoto>},
    {IDC_MAG_CONT_GOTO, WindowHandler<OnContinuousGoto>},
    {IDC_MAG_GOTO_X, OnAxisGoto},
    {IDC_MAG_GOTO_Y, OnAxisGoto},
    {IDC_MAG_GOTO_Z, OnAxisGoto},
    {IDC_MAG_GOTO_Q, OnAxisGoto},
    {IDC_MAG_STOP, WindowHandler<OnStop>},
    {IDC_MAG_SET_HOME, WindowHandler<OnSetHome>},
    {IDC_MAG_ZERO_X, OnZero},
    {IDC_MAG_ZERO_Y, OnZero},
    {IDC_MAG_ZERO_Z, OnZero},
    {IDC_MAG_ZERO_Q, OnZero},
    {IDC_MAG_SET_TARGET, WindowHandler<OnSetTarget>},
    {IDC_MAG_WATCH, WindowHandler<OnWatch>},
    {IDC_MAG_SCOPE, WindowHandler<OnScope>},
    {IDC_MAG_EXIT, WindowHandler<OnExit>},
};
// The close box and Escape leave the target fields unread.
constexpr DialogBehaviour kBehaviour = {
    .init = OnInit, .routes = kRoutes, .tick = OnTick, .destroyed = OnDestroyed, .modeless = &g_multiGotoWnd};

} // namespace

INT_PTR CALLBACK MultiAxisGotoDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

HWND OpenMultiAxisGoto() { return OpenModeless(g_multiGotoWnd, IDD_MULTI_AXIS_GOTO, MultiAxisGotoDlgProc); }

void ResetMultiAxisGoto() { DestroyModeless(g_multiGotoWnd); }
