#include "setup/sw_fence_dialog.h"

#include "board/param_io.h"
#include "core/flash_items.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "infra/log.h"
#include "res/resource.h"
#include "core/number_text.h"
#include "setup/setup_fields.h"
#include "ui/axis_radios.h"
#include "ui/dialog.h"
#include "ui/fields.h"
#include "ui/modal.h"

#include <cwchar>
#include <optional>
#include <string>

namespace {

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

ShownFields g_fields;

int UnitColumn() { return g_unitMode == kUnitInch || g_unitMode == kUnitMm ? g_unitMode : 0; }

void FillValue(HWND wnd, int id, int32_t counts, int axis)
{
    wchar_t text[kFieldTextCapacity];
    if (g_unitMode == kUnitMm)
        std::swprintf(text, kFieldTextCapacity, L"%g", static_cast<double>(CountsToUnits(counts, axis, kConvCountsMm)));
    else if (g_unitMode == kUnitInch)
        std::swprintf(text, kFieldTextCapacity, L"%g",
                      static_cast<double>(CountsToUnits(counts, axis, kConvCountsInch)));
    else
        std::swprintf(text, kFieldTextCapacity, L"%d", counts);
    g_fields.ShowText(wnd, id, text);
}

// A whole-text number in the dialog's unit as counts of the axis.
std::optional<int32_t> CountsOfText(const std::wstring& text, int axis)
{
    if (g_unitMode != kUnitMm && g_unitMode != kUnitInch)
        return WholeSigned(text);
    const std::optional<float> value = WholeFloat(text);
    if (!value)
        return std::nullopt;
    return g_unitMode == kUnitMm ? TargetMmToCounts(*value, axis) : UnitsToCounts(*value, axis, kConvCountsInch);
}

struct TypedCounts {
    std::wstring text;
    int32_t counts;
};

// The field's value when the technician typed a new number; none for an
// untouched field or one without a number, which keep their values.
std::optional<TypedCounts> TakeTypedCounts(HWND wnd, int id, int axis)
{
    std::optional<std::wstring> text = g_fields.TakeChangedText(wnd, id);
    const std::optional<int32_t> counts = text ? CountsOfText(*text, axis) : std::nullopt;
    if (!counts)
        return std::nullopt;
    return TypedCounts{std::move(*text), *counts};
}

void ReadCounts(HWND wnd, int id, int axis, int32_t& counts)
{
    if (const std::optional<TypedCounts> typed = TakeTypedCounts(wnd, id, axis))
        counts = typed->counts;
}

void Fill(HWND wnd, int axis)
{
    CheckBox(wnd, IDC_FENCE_ENABLED, krv_user_box_data.swFenceEnabled[axis] != 0);
    const int32_t storedPlus = krv_user_box_data.swFencePlus[axis];
    FillValue(wnd, IDC_FENCE_STORED_PLUS, storedPlus, axis);
    FillValue(wnd, IDC_FENCE_STORED_MINUS, krv_user_box_data.swFenceMinus[axis], axis);
    FillValue(wnd, IDC_FENCE_PLUS, static_cast<int32_t>(g_param[AxisParam(kParamFencePlus, axis)]), axis);
    FillValue(wnd, IDC_FENCE_MINUS, static_cast<int32_t>(g_param[AxisParam(kParamFenceMinus, axis)]), axis);
    if (g_unitMode == kUnitMm)
        LogPrintf(g_log, "Value to convert %d result of unconvert %g\n", storedPlus,
                  static_cast<double>(CountsToUnits(storedPlus, axis, kConvCountsMm)));
    // The fence captions carry their numbers unpadded ("(P68)").
    for (const FenceCaption& caption : kCaptions)
        SetParamCaption(wnd, caption.id, caption.names[UnitColumn()], caption.number + caption.axisStride * axis,
                        L"(P%d)");
}

void ApplyStoredPlus(HWND wnd, int axis)
{
    const std::optional<TypedCounts> typed = TakeTypedCounts(wnd, IDC_FENCE_STORED_PLUS, axis);
    if (!typed)
        return;
    krv_user_box_data.swFencePlus[axis] = typed->counts;
    if (g_unitMode == kUnitMm)
        LogPrintf(g_log, "Value to unconvert %g result of unconvert %d\n",
                  static_cast<double>(WholeFloat(typed->text).value_or(0.0f)), typed->counts);
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
    krv_user_box_data.swFenceEnabled[axis] = IsBoxChecked(wnd, IDC_FENCE_ENABLED) ? 1 : 0;
    ApplyStoredPlus(wnd, axis);
    ReadCounts(wnd, IDC_FENCE_STORED_MINUS, axis, krv_user_box_data.swFenceMinus[axis]);
    ApplyFence(wnd, IDC_FENCE_PLUS, kParamFencePlus, axis);
    ApplyFence(wnd, IDC_FENCE_MINUS, kParamFenceMinus, axis);
}

void ShowAxis(HWND wnd, int axis)
{
    CheckAxisRadio(wnd, axis);
    Fill(wnd, axis);
}

void OnInitDialog(HWND wnd)
{
    if (g_radio_last != 1 && g_radio_last != 2)
        g_radio_last = 0;
    g_fields.Forget();
    ShowAxis(wnd, g_radio_last);
    for (int id : {IDC_FENCE_PLUS, IDC_FENCE_MINUS, IDC_FENCE_ENABLED})
        EnableWindow(GetDlgItem(wnd, id), TRUE);
}

void OnAxisRadio(HWND wnd, int axis)
{
    Apply(wnd);
    g_radio_last = axis;
    ShowAxis(wnd, axis);
}

void OnOk(HWND wnd)
{
    Apply(wnd);
    EndModal(wnd, 0);
}

constexpr CommandRoute kRoutes[] = {
    {IDC_FENCE_OK, WindowHandler<OnOk>},
};
// The close box stores as "OK" does, and the window stores once more while
// it goes: every way out of the dialog stores the fields.
constexpr DialogBehaviour kBehaviour = {
    .init = OnInitDialog, .routes = kRoutes, .axisRadio = OnAxisRadio, .close = OnOk, .destroyed = Apply};

} // namespace

INT_PTR CALLBACK SwFenceDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

void RunSwFenceDialog(HWND owner) { RunModalDialog(owner, IDD_SW_FENCE, SwFenceDlgProc); }

void ResetSwFenceDialog() { g_fields.Forget(); }
