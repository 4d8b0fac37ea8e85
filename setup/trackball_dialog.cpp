#include "setup/trackball_dialog.h"

#include "board/axis_position.h"
#include "board/param_io.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "infra/clock.h"
#include "res/resource.h"
#include "setup/setup_fields.h"
#include "ui/control_text.h"
#include "ui/dialog.h"
#include "ui/fields.h"
#include "ui/modal.h"

#include <cstdio>

namespace {

constexpr int kTrackballAxes = 3;
constexpr int kPositionAxes = 4;      // X, Y, Z, Q
constexpr UINT kRefreshMs = 100;
constexpr INT_PTR kAppliedResult = 1028;

// From 0x00020207 the top byte holds the deadband; from 0x00020009 the
// enable bits of P022 moved.
constexpr uint32_t kDeadbandFirmware = 0x00020207;
constexpr uint32_t kEnableLayoutFirmware = 0x00020009;

constexpr uint32_t kByte = 0xFF;
constexpr int kFineShift = 8;
constexpr int kDeadbandShift = 24;
constexpr uint32_t kInvertBit = 1u << 16;

struct EnableLayout {
    uint32_t keepMask;                   // P022 without any enable bit
    uint32_t pairs[kTrackballAxes];      // both bits set: enabled
};
constexpr EnableLayout kNewEnableLayout = {0xFFFF8007, {0x0018, 0x00C0, 0x0600}};
constexpr EnableLayout kOldEnableLayout = {0xFFFF888F, {0x0030, 0x0300, 0x3000}};

struct AxisColumn {
    int coarse, fine, deadband, invert, enable;
    int coarseCaption, fineCaption, deadbandCaption;
    const wchar_t* coarseName;
    const wchar_t* fineName;
    const wchar_t* deadbandName;
};
// The Y column's captions carry only the parameter number.
constexpr AxisColumn kColumns[kTrackballAxes] = {
    {IDC_TB_COARSE_X, IDC_TB_FINE_X, IDC_TB_DEADBAND_X, IDC_TB_INVERT_X, IDC_TB_ENABLE_X, IDC_TB_COARSE_CAPTION_X,
     IDC_TB_FINE_CAPTION_X, IDC_TB_DEADBAND_CAPTION_X, L"Coarse Rate (0-100)", L"Fine Rate (0-100)",
     L"Deadband (0-255)"},
    {IDC_TB_COARSE_Y, IDC_TB_FINE_Y, IDC_TB_DEADBAND_Y, IDC_TB_INVERT_Y, IDC_TB_ENABLE_Y, IDC_TB_COARSE_CAPTION_Y,
     IDC_TB_FINE_CAPTION_Y, IDC_TB_DEADBAND_CAPTION_Y, L"", L"", L""},
    {IDC_TB_COARSE_Z, IDC_TB_FINE_Z, IDC_TB_DEADBAND_Z, IDC_TB_INVERT_Z, IDC_TB_ENABLE_Z, IDC_TB_COARSE_CAPTION_Z,
     IDC_TB_FINE_CAPTION_Z, IDC_TB_DEADBAND_CAPTION_Z, L"Coarse Rate (0-100)", L"Fine Rate (0-100)",
     L"Deadband (0-255)"},
};
constexpr int kPositionFields[kPositionAxes] = {IDC_TB_POSITION_X, IDC_TB_POSITION_Y, IDC_TB_POSITION_Z,
                                                IDC_TB_POSITION_Q};

bool HasDeadband() { return g_firmwareVersion >= kDeadbandFirmware; }
const EnableLayout& Layout() { return g_firmwareVersion >= kEnableLayoutFirmware ? kNewEnableLayout : kOldEnableLayout; }

// The bits of P005..P007 this dialog owns; the others keep what they hold.
uint32_t OwnedBits() { return 0xFFFF | kInvertBit | (HasDeadband() ? kByte << kDeadbandShift : 0); }

void ShowP022(HWND wnd)
{
    wchar_t text[16];
    swprintf(text, 16, L"0x%04X", g_param[kParamOptions]);
    SetDlgItemTextW(wnd, IDC_TB_P022, text);
}

void FillColumn(HWND wnd, int axis)
{
    const AxisColumn& column = kColumns[axis];
    const int param = kParamTrackballX + axis;
    const uint32_t value = g_param[param];
    SetUnsignedField(wnd, column.coarse, value & kByte);
    SetUnsignedField(wnd, column.fine, (value >> kFineShift) & kByte);
    if (HasDeadband())
        SetUnsignedField(wnd, column.deadband, (value >> kDeadbandShift) & kByte);
    CheckBox(wnd, column.invert, value & kInvertBit);
    // Older firmware keeps the enables at other bits; filling them from
    // there keeps "OK" from disabling every axis.
    CheckBox(wnd, column.enable, g_param[kParamOptions] & Layout().pairs[axis]);
    SetParamCaption(wnd, column.coarseCaption, column.coarseName, param);
    SetParamCaption(wnd, column.fineCaption, column.fineName, param);
    SetParamCaption(wnd, column.deadbandCaption, column.deadbandName, param);
}

void Fill(HWND wnd)
{
    for (int axis = 0; axis < kTrackballAxes; ++axis)
        FillColumn(wnd, axis);
    ShowP022(wnd);
    SetParamCaption(wnd, IDC_TB_INVERT_CAPTION, L"Invert Direction", kParamOptions);
    const wchar_t* position = g_unitMode == kUnitInch ? L"Position (in)" : L"Position (mm)";
    SetDlgItemTextW(wnd, IDC_TB_POSITION_CAPTION_XY, position);
    SetDlgItemTextW(wnd, IDC_TB_POSITION_CAPTION_ZQ, position);
}

// A field without a number keeps its byte.
uint32_t ReadByte(HWND wnd, int id, uint32_t stored)
{
    uint32_t value = stored;
    ReadUnsignedField(wnd, id, value);
    return value & kByte;
}

// Rates, deadband and direction together, so that the board sees one
// read-compare-write per axis and an unchanged axis none.
void ApplyColumn(HWND wnd, int axis)
{
    const AxisColumn& column = kColumns[axis];
    const int param = kParamTrackballX + axis;
    const uint32_t stored = g_param[param];
    uint32_t value = stored & ~OwnedBits();
    value |= ReadByte(wnd, column.coarse, stored & kByte);
    value |= ReadByte(wnd, column.fine, (stored >> kFineShift) & kByte) << kFineShift;
    if (HasDeadband())
        value |= ReadByte(wnd, column.deadband, (stored >> kDeadbandShift) & kByte) << kDeadbandShift;
    if (IsBoxChecked(wnd, column.invert))
        value |= kInvertBit;
    StoreParam(param, value);
}

void Apply(HWND wnd)
{
    const EnableLayout& layout = Layout();
    uint32_t options = g_param[kParamOptions] & layout.keepMask;
    for (int axis = 0; axis < kTrackballAxes; ++axis) {
        ApplyColumn(wnd, axis);
        if (IsBoxChecked(wnd, kColumns[axis].enable))
            options |= layout.pairs[axis];
    }
    StoreParam(kParamOptions, options);
}

ShownTexts g_shownPositions;

void OnTimer(HWND wnd)
{
    if (!g_boardPresent)
        return;
    char text[128];
    for (int axis = 0; axis < kPositionAxes; ++axis) {
        FormatAxisReadout(text, sizeof text, axis, SampleAxis(axis));
        g_shownPositions.Set(wnd, kPositionFields[axis], text);
    }
}

void OnInitDialog(HWND wnd)
{
    Fill(wnd);
    for (const AxisColumn& column : kColumns)
        for (int id : {column.coarse, column.fine, column.deadband, column.invert, column.enable})
            EnableWindow(GetDlgItem(wnd, id), TRUE);
    g_shownPositions.Forget();
    StartTimer(wnd, IDT_TICK, kRefreshMs);
}

void OnApply(HWND wnd)
{
    Apply(wnd);
    ShowP022(wnd);
}

void OnOk(HWND wnd)
{
    Apply(wnd);
    EndModal(wnd, kAppliedResult);
}

constexpr CommandRoute kRoutes[] = {
    {IDC_TB_APPLY, WindowHandler<OnApply>},
    {IDC_TB_OK, WindowHandler<OnOk>},
};
// The close box leaves without applying.
constexpr DialogBehaviour kBehaviour = {.init = OnInitDialog, .routes = kRoutes, .tick = OnTimer};

} // namespace

INT_PTR CALLBACK TrackballDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

void RunTrackballDialog(HWND owner) { RunModalDialog(owner, IDD_TRACKBALL, TrackballDlgProc); }
