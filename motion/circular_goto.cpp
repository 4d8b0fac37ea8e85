#include "motion/circular_goto.h"

#include "core/circular_move.h"
#include "core/goto_sequence.h"
#include "core/motion_state.h"
#include "core/number_text.h"
#include "core/param_table.h"
#include "core/unit_conversion.h"
#include "driver/axb400.h"
#include "homing/auto_home.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "motion/goto_monitor.h"
#include "res/resource.h"
#include "scope/scope_window.h"
#include "ui/dialog.h"
#include "ui/fields.h"
#include "ui/modeless.h"

#include <cstdio>
#include <string>

HWND g_circularGotoWnd;

namespace {

constexpr UINT kTickMs = 10;

struct CircularField {
    int id;
    const char* name;          // as the refusal names it
    const wchar_t* initial;
    float CircularGotoEntry::*value;
};

constexpr CircularField kFields[] = {
    {IDC_CIRC_VEL_PERCENT, "Vel %", L"100.0", &CircularGotoEntry::velPercent},
    {IDC_CIRC_START_ANGLE, "Start Angle", L"0.0", &CircularGotoEntry::startDeg},
    {IDC_CIRC_REL_ANGLE, "Rel Angle", L"180.0", &CircularGotoEntry::sweepDeg},
    {IDC_CIRC_RADIUS, "Radius", L"10.000", &CircularGotoEntry::radiusMm},
    {IDC_CIRC_FEED, "feed distance", L"0.0", &CircularGotoEntry::feedMm},
    {IDC_CIRC_PITCH, "plane pitch", L"0.0", &CircularGotoEntry::pitchDeg},
    {IDC_CIRC_YAW, "plane yaw", L"0.0", &CircularGotoEntry::yawDeg},
};

// The relative angle goes through the narrow text, as it has always been
// logged.
std::optional<float> ReadRelAngle(HWND wnd, std::string& text)
{
    char buffer[kFieldTextCapacity] = {};
    GetDlgItemTextA(wnd, IDC_CIRC_REL_ANGLE, buffer, kFieldTextCapacity);
    text = buffer;
    return LeadingFloat(std::string_view(text));
}

// False, with the reason logged, when a field holds no number. Each field
// is read with "%g": the number it starts with.
bool ReadEntry(HWND wnd, CircularGotoEntry& entry, std::string& relAngleText)
{
    for (const CircularField& field : kFields) {
        const std::optional<float> value = field.id == IDC_CIRC_REL_ANGLE ? ReadRelAngle(wnd, relAngleText)
                                                                           : LeadingFloat(FieldText(wnd, field.id));
        if (!value) {
            LogPrintf(g_log, "Circular goto not sent: %s holds no number\n", field.name);
            return false;
        }
        entry.*field.value = *value;
    }
    return true;
}

void LogMove(const CircularGotoEntry& entry, const std::string& relAngleText, const CircularMove& move)
{
    LogPrintf(g_log, "start angle value:%.12g\n", static_cast<double>(entry.startDeg));
    g_log.Write("end angle buf:");
    g_log.Write(relAngleText.c_str());
    LogPrintf(g_log, ",value:%.12g\n", static_cast<double>(entry.sweepDeg));
    const float resolution = g_resolution[kAxisX];
    LogPrintf(g_log, "fd:mm:%.12g,%dg_resolution[0]:%.12gfdc/gr0:%.12g\n", static_cast<double>(entry.feedMm),
              move.feed, static_cast<double>(resolution),
              static_cast<double>(static_cast<float>(move.feed) / resolution));
    LogPrintf(g_log, "AXB_SetAxisPosCircle(0,%d(r),%g(sa),%g(ea),%d(lin dist),%d(vel),%f(pitch),%f(yaw))\n",
              move.radius, static_cast<double>(entry.startDeg), static_cast<double>(entry.sweepDeg), move.feed,
              static_cast<int>(move.velocity), static_cast<double>(entry.pitchDeg),
              static_cast<double>(entry.yawDeg));
}

void OnGoto(HWND wnd)
{
    if (RefusedWhileAutoHoming("Circular goto"))
        return;
    CircularGotoEntry entry;
    std::string relAngleText;
    if (!ReadEntry(wnd, entry, relAngleText))
        return;
    // Saturated counts would send a circle other than the one entered.
    if (!GotoCounts(entry.radiusMm, kAxisX) || !GotoCounts(entry.feedMm, kAxisX)) {
        g_log.Write("Circular goto not sent: the radius or the feed is beyond X's counter\n");
        return;
    }
    CircularMove move;
    if (!MakeCircularMove(entry, move)) {
        g_log.Write("Circular goto not sent: X has no counts per mm (P058 is 0)\n");
        return;
    }
    LogMove(entry, relAngleText, move);
    AXB_SetAxisPosCircle(0, move.radius, entry.startDeg, entry.sweepDeg, move.feed, move.velocity, entry.pitchDeg,
                         entry.yawDeg);
}

// The run of the Multi Axis Goto window, if any, goes on.
void OnStop(HWND)
{
    StopAxesAndAutoHome(kGotoAxisCount);
}

void OnExit(HWND wnd) { CloseModeless(g_circularGotoWnd, wnd); }

void OnScope(HWND) { SendGotoRunToScope(); }

void OnDestroyed(HWND) { g_traceOn = false; }

void OnInit(HWND wnd)
{
    for (const CircularField& field : kFields)
        SetDlgItemTextW(wnd, field.id, field.initial);
    StartTimer(wnd, IDT_TICK, kTickMs);
}

void OnTick(HWND wnd) { GotoMonitorTick(wnd, GotoWindowKind::kCircular); }

constexpr CommandRoute kRoutes[] = {
    {IDC_CIRC_GOTO, WindowHandler<OnGoto>},
    {IDC_CIRC_STOP, WindowHandler<OnStop>},
    {IDC_CIRC_SCOPE, WindowHandler<OnScope>},
    {IDC_CIRC_EXIT, WindowHandler<OnExit>},
};
constexpr DialogBehaviour kBehaviour = {
    .init = OnInit, .routes = kRoutes, .tick = OnTick, .destroyed = OnDestroyed, .modeless = &g_circularGotoWnd};

} // namespace

INT_PTR CALLBACK CircularGotoDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

HWND OpenCircularGoto() { return OpenModeless(g_circularGotoWnd, IDD_CIRCULAR_GOTO, CircularGotoDlgProc); }

void ResetCircularGoto() { DestroyModeless(g_circularGotoWnd); }
