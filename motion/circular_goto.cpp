#include "motion/circular_goto.h"

#include "core/circular_move.h"
#include "core/goto_sequence.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "driver/axb400.h"
#include "homing/auto_home.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "motion/entered_numbers.h"
#include "motion/goto_monitor.h"
#include "motion/motion_window.h"
#include "res/resource.h"
#include "ui/command_route.h"
#include "ui/modeless.h"

#include <cstdio>
#include <string>

HWND g_circularGotoWnd;

namespace {

constexpr UINT kTickMs = 10;
constexpr int kTextCapacity = 128;

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

// The relative angle goes through the narrow text and scanner, as it has
// always been logged.
bool ReadRelAngle(HWND wnd, std::string& text, float& value)
{
    char buffer[kTextCapacity] = {};
    GetDlgItemTextA(wnd, IDC_CIRC_REL_ANGLE, buffer, kTextCapacity);
    text = buffer;
    return std::sscanf(buffer, "%g", &value) == 1;
}

// False, with the reason logged, when a field holds no number.
bool ReadEntry(HWND wnd, CircularGotoEntry& entry, std::string& relAngleText)
{
    for (const CircularField& field : kFields) {
        const bool parsed = field.id == IDC_CIRC_REL_ANGLE
                                ? ReadRelAngle(wnd, relAngleText, entry.*field.value)
                                : ParseEnteredNumber(FieldText(wnd, field.id).c_str(), entry.*field.value);
        if (!parsed) {
            LogPrintf(g_log, "Circular goto not sent: %s holds no number\n", field.name);
            return false;
        }
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
    CircularGotoEntry entry;
    std::string relAngleText;
    if (!ReadEntry(wnd, entry, relAngleText))
        return;
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
    // A homing sweep stopped by hand would read as the end of travel.
    if (IsAutoHomeRunning())
        CancelAutoHome();
    for (int a = 0; a < kGotoAxisCount; ++a)
        AXB_StopAxis(0, a);
}

void OnExit(HWND wnd) { CloseModeless(g_circularGotoWnd, wnd); }

void OnDestroyed(HWND wnd)
{
    g_traceOn = false;
    ModelessDestroyed(g_circularGotoWnd, wnd);
}

void OnInit(HWND wnd)
{
    for (const CircularField& field : kFields)
        SetDlgItemTextW(wnd, field.id, field.initial);
    StartTimer(wnd, kModelessTimerId, kTickMs);
}

void OnTick(HWND wnd) { GotoMonitorTick(wnd, GotoWindowKind::kCircular); }

constexpr CommandRoute kRoutes[] = {
    {IDC_CIRC_GOTO, WindowHandler<OnGoto>},
    {IDC_CIRC_STOP, WindowHandler<OnStop>},
    {IDC_CIRC_EXIT, WindowHandler<OnExit>},
    {IDCANCEL, WindowHandler<OnExit>},
};

constexpr MotionWindow kWindow = {OnInit, OnTick, kRoutes, OnExit, OnDestroyed};

} // namespace

INT_PTR CALLBACK CircularGotoDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleMotionWindowMessage(kWindow, wnd, message, wParam, lParam);
}

HWND OpenCircularGoto() { return OpenModeless(g_circularGotoWnd, IDD_CIRCULAR_GOTO, CircularGotoDlgProc); }

void ResetCircularGoto() { DestroyModeless(g_circularGotoWnd); }
