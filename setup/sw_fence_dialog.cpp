#include "setup/sw_fence_dialog.h"

#include "board/param_io.h"
#include "core/flash_items.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "infra/log.h"
#include "res/resource.h"
#include "setup/setup_fields.h"
#include "setup/setup_dialog.h"

#include <cstdio>

namespace {

constexpr int kParamFencePlus = 68;
constexpr int kParamFenceMinus = 69;
// Flash item numbers shown beside the stored values and the box.
constexpr int kItemStoredPlus = 1101;
constexpr int kItemStoredMinus = 1113;
constexpr int kItemFenceEnabled = 1095;
constexpr int kItemStride = 4;

struct FenceCaption {
    int id;
    const wchar_t* names[3];   // counts, inches, millimetres
    int number;                // X number
    int axisStride;
};
constexpr FenceCaption kCaptions[] = {
    {IDC_FENCE_PLUS_CAPTION, {L"+ SW Fence (c)", L"+ SW Fence (in)", L"+ SW Fence (mm)"}, kParamFencePlus,
     kAxisParamStride},
    {IDC_FENCE_MINUS_CAPTION, {L"- SW Fence (c)", L"- SW Fence (in)", L"- SW Fence (mm)"}, kParamFenceMinus,
     kAxisParamStride},
    {IDC_FENCE_STORED_PLUS_CAPTION, {L"+ Stored (c)", L"+ Stored (in)", L"+ Stored (mm)"}, kItemStoredPlus,
     kItemStride},
    {IDC_FENCE_STORED_MINUS_CAPTION, {L"- Stored (c)", L"- Stored (in)", L"- Stored (mm)"}, kItemStoredMinus,
     kItemStride},
    {IDC_FENCE_ENABLED, {L"SW Fence Enabled", L"SW Fence Enabled", L"SW Fence Enabled"}, kItemFenceEnabled, 0},
};

FilledTexts g_filled;

int UnitColumn() { return g_unitMode == kUnitInch || g_unitMode == kUnitMm ? g_unitMode : 0; }

void FormatCounts(int32_t counts, int axis, FieldText& text)
{
    if (g_unitMode == kUnitMm)
        swprintf(text, kFieldTextCapacity, L"%g", static_cast<double>(CountsToUnits(counts, axis, kConvCountsMm)));
    else if (g_unitMode == kUnitInch)
        swprintf(text, kFieldTextCapacity, L"%g", static_cast<double>(CountsToUnits(counts, axis, kConvCountsInch)));
    else
        swprintf(text, kFieldTextCapacity, L"%d", counts);
}

// A number in the dialog's unit as counts of the axis.
bool ParseCounts(const wchar_t* text, int axis, int32_t& counts)
{
    if (g_unitMode != kUnitMm && g_unitMode != kUnitInch)
        return ParseSigned(text, counts);
    float value = 0.0f;
    if (!ParseFloat(text, value))
        return false;
    counts = g_unitMode == kUnitMm ? TargetMmToCounts(value, axis) : UnitsToCounts(value, axis, kConvCountsInch);
    return true;
}

void FillValue(HWND wnd, int id, int32_t counts, int axis)
{
    FieldText text;
    FormatCounts(counts, axis, text);
    g_filled.Fill(wnd, id, text);
}

// The field's value when the technician typed a new number; an untouched
// field or one without a number keeps the value.
bool ReadCounts(HWND wnd, int id, int axis, int32_t& counts)
{
    FieldText text;
    return g_filled.TakeNewText(wnd, id, text) && ParseCounts(text, axis, counts);
}

void Fill(HWND wnd, int axis)
{
    CheckDlgButton(wnd, IDC_FENCE_ENABLED, krv_user_box_data.swFenceEnabled[axis] ? BST_CHECKED : BST_UNCHECKED);
    const int32_t storedPlus = krv_user_box_data.swFencePlus[axis];
    FillValue(wnd, IDC_FENCE_STORED_PLUS, storedPlus, axis);
    FillValue(wnd, IDC_FENCE_STORED_MINUS, krv_user_box_data.swFenceMinus[axis], axis);
    FillValue(wnd, IDC_FENCE_PLUS, static_cast<int32_t>(g_param[AxisParam(kParamFencePlus, axis)]), axis);
    FillValue(wnd, IDC_FENCE_MINUS, static_cast<int32_t>(g_param[AxisParam(kParamFenceMinus, axis)]), axis);
    if (g_unitMode == kUnitMm)
        LogPrintf(g_log, "Value to convert %d result of unconvert %g\n", storedPlus,
                  static_cast<double>(CountsToUnits(storedPlus, axis, kConvCountsMm)));
    FieldText text;
    for (const FenceCaption& caption : kCaptions) {
        const wchar_t* name = caption.names[UnitColumn()];
        if (ShowParamNumbers())
            swprintf(text, kFieldTextCapacity, L"%ls(%lc%d)", name, L'P', caption.number + caption.axisStride * axis);
        else
            swprintf(text, kFieldTextCapacity, L"%ls", name);
        SetDlgItemTextW(wnd, caption.id, text);
    }
}

void ApplyStoredPlus(HWND wnd, int axis)
{
    int32_t& stored = krv_user_box_data.swFencePlus[axis];
    FieldText text;
    if (!g_filled.TakeNewText(wnd, IDC_FENCE_STORED_PLUS, text) || !ParseCounts(text, axis, stored))
        return;
    if (g_unitMode == kUnitMm) {
        float typed = 0.0f;
        ParseFloat(text, typed);
        LogPrintf(g_log, "Value to unconvert %g result of unconvert %d\n", static_cast<double>(typed), stored);
    }
}

void ApplyFence(HWND wnd, int id, int xParam, int axis)
{
    const int param = AxisParam(xParam, axis);
    auto counts = static_cast<int32_t>(g_param[param]);
    ReadCounts(wnd, id, axis, counts);
    StoreParam(param, static_cast<uint32_t>(counts));
}

void Apply(HWND wnd)
{
    const int axis = g_radio_last;
    krv_user_box_data.swFenceEnabled[axis] = IsDlgButtonChecked(wnd, IDC_FENCE_ENABLED) == BST_CHECKED ? 1 : 0;
    ApplyStoredPlus(wnd, axis);
    ReadCounts(wnd, IDC_FENCE_STORED_MINUS, axis, krv_user_box_data.swFenceMinus[axis]);
    ApplyFence(wnd, IDC_FENCE_PLUS, kParamFencePlus, axis);
    ApplyFence(wnd, IDC_FENCE_MINUS, kParamFenceMinus, axis);
}

void ShowAxis(HWND wnd, int axis)
{
    CheckSetupAxisRadio(wnd, axis);
    Fill(wnd, axis);
}

void OnInitDialog(HWND wnd)
{
    if (g_radio_last != 1 && g_radio_last != 2)
        g_radio_last = 0;
    g_filled.Forget();
    ShowAxis(wnd, g_radio_last);
    for (int id : {IDC_FENCE_PLUS, IDC_FENCE_MINUS, IDC_FENCE_ENABLED})
        EnableWindow(GetDlgItem(wnd, id), TRUE);
}

void OnAxisRadio(HWND wnd, int id)
{
    Apply(wnd);
    g_radio_last = SetupAxisOfRadio(id);
    ShowAxis(wnd, g_radio_last);
}

void OnOk(HWND wnd)
{
    Apply(wnd);
    EndDialog(wnd, 0);
}

constexpr CommandRoute kRoutes[] = {
    {IDC_FENCE_OK, WindowHandler<OnOk>},
};
// The close box stores as "OK" does, and the window stores once more while
// it goes: every way out of the dialog stores the fields.
constexpr SetupDialogBehaviour kBehaviour = {OnInitDialog, kRoutes, OnOk, OnAxisRadio, Apply};

} // namespace

INT_PTR CALLBACK SwFenceDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM)
{
    return HandleSetupDialogMessage(kBehaviour, wnd, message, wParam);
}

void RunSwFenceDialog(HWND owner) { RunSetupDialog(owner, IDD_SW_FENCE, SwFenceDlgProc); }

void ResetSwFenceDialog() { g_filled.Forget(); }
