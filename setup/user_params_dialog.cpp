#include "setup/user_params_dialog.h"

#include "board/axis_position.h"
#include "board/fences.h"
#include "core/flash_items.h"
#include "core/motion_state.h"
#include "core/motor_calculator.h"
#include "core/number_text.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "core/user_lengths.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "res/resource.h"
#include "setup/setup_fields.h"
#include "ui/axis_radios.h"
#include "ui/dialog.h"
#include "ui/fields.h"
#include "ui/modal.h"
#include "zoom/zoom.h"

#include <cstdio>

namespace {

constexpr UINT kTimerMs = 10;

enum class Scope { Global, AllAxes, EncoderAxes, FenceAxes };

bool InScope(Scope scope, int axis)
{
    switch (scope) {
    case Scope::AllAxes: return true;
    case Scope::EncoderAxes: return axis < kEncoderAxisCount;
    case Scope::FenceAxes: return axis < kUserBoxFenceAxes;
    default: return true;
    }
}

KrvUserBoxData& Rec() { return krv_user_box_data; }

// A box is its own caption.
struct FlagRow {
    int id;
    const char* caption;
    int item;
    Scope scope;
    uint8_t& (*value)(int axis);
};

constexpr FlagRow kFlagRows[] = {
    {IDC_UP_AUTO_HOME, "Auto Homing Enabled", 1001, Scope::AllAxes,
     [](int a) -> uint8_t& { return Rec().autoHomeEnabled[a]; }},
    {IDC_UP_SCAN_DIRECTION, "Homing Scan Direction", 1002, Scope::AllAxes,
     [](int a) -> uint8_t& { return Rec().homingScanDirection[a]; }},
    {IDC_UP_FIND_START_LIMIT, "Homing Find Start Limit", 1003, Scope::AllAxes,
     [](int a) -> uint8_t& { return Rec().homingFindStartLimit[a]; }},
    {IDC_UP_STARTUP_ZEROING, "Startup Zeroing Enabled", 1009, Scope::AllAxes,
     [](int a) -> uint8_t& { return Rec().startupZeroingEnabled[a]; }},
    {IDC_UP_FENCE_ENABLED, "SW Fence Enabled", 1095, Scope::FenceAxes,
     [](int a) -> uint8_t& { return Rec().swFenceEnabled[a]; }},
    {IDC_UP_FLICK_DISABLED, "Flick Disabled", 1096, Scope::Global, [](int) -> uint8_t& { return Rec().flickDisabled; }},
    {IDC_UP_LAMP_RS232, "Lamp RS232", 1096, Scope::Global, [](int) -> uint8_t& { return Rec().lampRs232; }},
};

// Shown and read with "%g".
struct FloatRow {
    int id;
    int captionId;
    const char* caption;
    int item;
    int step;
    Scope scope;
    float& (*value)(int axis);
};

template <int N>
constexpr FloatRow ZoomPosRow()
{
    return {IDC_UP_ZOOM_POS_1 + N, IDC_UP_ZOOM_POS_CAPTION_1 + N, nullptr, 1055 + 4 * N, 0, Scope::Global,
            [](int) -> float& { return Rec().zoomPos[N]; }};
}

constexpr FloatRow kFloatRows[] = {
    {IDC_UP_HOME_VELOCITY, IDC_UP_HOME_VELOCITY_CAPTION, "Auto Home Velocity %", 1030, 4, Scope::AllAxes,
     [](int a) -> float& { return Rec().autoHomeVelocityPercent[a]; }},
    {IDC_UP_ZOOM_BACKLASH, IDC_UP_ZOOM_BACKLASH_CAPTION, "Zoom Backlash", 1051, 0, Scope::Global,
     [](int) -> float& { return Rec().zoomBacklash; }},
    ZoomPosRow<0>(), ZoomPosRow<1>(), ZoomPosRow<2>(), ZoomPosRow<3>(), ZoomPosRow<4>(),
    ZoomPosRow<5>(), ZoomPosRow<6>(), ZoomPosRow<7>(), ZoomPosRow<8>(), ZoomPosRow<9>(),
    {IDC_UP_FLICK_DECEL, 0, nullptr, 1097, 0, Scope::Global, [](int) -> float& { return Rec().flickDecel; }},
    {IDC_UP_HOME_START, IDC_UP_HOME_START_CAPTION, "Home Start pos", 1125, 0, Scope::Global,
     [](int) -> float& { return Rec().homeStartPos; }},
};

constexpr const char* kZoomPosCaptions[] = {"Zoom Pos 1", "Zoom Pos 2", "Zoom Pos 3", "Zoom Pos 4", "Zoom Pos 5",
                                            "Zoom Pos 6", "Zoom Pos 7", "Zoom Pos 8", "Zoom Pos 9", "Zoom Pos 10"};

// Counts in the flash record, shown in the main window's unit.
struct LengthRow {
    int id;
    int captionId;
    const char* caption;   // without the unit
    int item;
    Scope scope;
    int32_t& (*value)(int axis);
};

constexpr LengthRow kLengthRows[] = {
    {IDC_UP_ZERO_OFFSET, IDC_UP_ZERO_OFFSET_CAPTION, "Zero Offset", 1010, Scope::AllAxes,
     [](int a) -> int32_t& { return Rec().machine_zero_offset[a]; }},
    {IDC_UP_FENCE_PLUS, IDC_UP_FENCE_PLUS_CAPTION, "SW Fence +", 1101, Scope::FenceAxes,
     [](int a) -> int32_t& { return Rec().swFencePlus[a]; }},
    {IDC_UP_FENCE_MINUS, IDC_UP_FENCE_MINUS_CAPTION, "SW Fence -", 1113, Scope::FenceAxes,
     [](int a) -> int32_t& { return Rec().swFenceMinus[a]; }},
};

// Bytes of the record shown as a multiple ("Steps Per Rev" is kept ÷ 4).
struct ScaledByteRow {
    int id;
    int captionId;
    const char* caption;
    int item;
    int factor;
    uint8_t (*stored)(float typed);   // held at 0..255, as the calculator stores it
    uint8_t& (*value)(int axis);
};

constexpr ScaledByteRow kScaledByteRows[] = {
    {IDC_UP_STEPS, IDC_UP_STEPS_CAPTION, "Steps Per Rev (Stp)", 1135, 4, StepsByte,
     [](int a) -> uint8_t& { return Rec().stepsPerRevDiv4[a]; }},
    {IDC_UP_MICROSTEPS, IDC_UP_MICROSTEPS_CAPTION, "Micro Steps Per Step (\xC2\xB5Stp)", 1139, 2, MicrostepsByte,
     [](int a) -> uint8_t& { return Rec().microStepsPerStepDiv2[a]; }},
};

constexpr int kZeroingMethodId = IDC_UP_ZEROING_METHOD;
constexpr const wchar_t* kZeroingMethods[] = {L"None", L"Ref Mark (single)", L"Ref Marks Distance Encoded",
                                              L"Manual", L"Limit"};
constexpr int kFenceControls[] = {IDC_UP_FENCE_ENABLED, IDC_UP_FENCE_PLUS,      IDC_UP_FENCE_PLUS_CAPTION,
                                  IDC_UP_FENCE_PLUS_HERE, IDC_UP_FENCE_MINUS, IDC_UP_FENCE_MINUS_CAPTION,
                                  IDC_UP_FENCE_MINUS_HERE};
constexpr int kHereButtons[] = {IDC_UP_ZERO_OFFSET_HERE, IDC_UP_FENCE_PLUS_HERE, IDC_UP_FENCE_MINUS_HERE};

ShownFields g_fields;

void ShowNarrow(HWND wnd, int id, const char* text)
{
    wchar_t wide[128];
    std::swprintf(wide, std::size(wide), L"%hs", text);
    g_fields.ShowText(wnd, id, wide);
}

void ShowCaption(HWND wnd, int id, const char* caption, int item)
{
    if (id != 0 && caption != nullptr)
        SetParamCaption(wnd, id, WideFromUtf8(caption).c_str(), item);
}

const char* UnitSuffix()
{
    return g_unitMode == kUnitInch ? " (in)" : g_unitMode == kUnitMm ? " (mm)" : " (c)";
}

void FillFlags(HWND wnd, int axis)
{
    for (const FlagRow& row : kFlagRows) {
        g_fields.ShowCheck(wnd, row.id, InScope(row.scope, axis) && row.value(axis) != 0);
        ShowCaption(wnd, row.id, row.caption, row.item);
    }
}

void FillFloats(HWND wnd, int axis)
{
    for (const FloatRow& row : kFloatRows) {
        char text[64] = "";
        if (InScope(row.scope, axis))
            std::snprintf(text, sizeof text, "%g", static_cast<double>(row.value(axis)));
        ShowNarrow(wnd, row.id, text);
        ShowCaption(wnd, row.captionId, row.caption, row.item + row.step * axis);
    }
    for (int i = 0; i < kUserBoxZoomPositions; ++i)
        ShowCaption(wnd, IDC_UP_ZOOM_POS_CAPTION_1 + i, kZoomPosCaptions[i], 1055 + 4 * i);
}

void FillLengths(HWND wnd, int axis)
{
    for (const LengthRow& row : kLengthRows) {
        char text[64] = "";
        if (InScope(row.scope, axis)) {
            if (g_unitMode == kUnitStored)
                std::snprintf(text, sizeof text, "%d", row.value(axis));
            else
                std::snprintf(text, sizeof text, "%g",
                              static_cast<double>(CountsAsUserLength(row.value(axis), g_resolution[axis], g_unitMode)));
        }
        ShowNarrow(wnd, row.id, text);
        char caption[64];
        std::snprintf(caption, sizeof caption, "%s%s", row.caption, UnitSuffix());
        ShowCaption(wnd, row.captionId, caption, row.item + 4 * axis);
    }
}

void FillStepper(HWND wnd, int axis)
{
    const bool stepperAxis = axis < kEncoderAxisCount;
    for (const ScaledByteRow& row : kScaledByteRows) {
        char text[32] = "";
        if (stepperAxis)
            std::snprintf(text, sizeof text, "%d", row.factor * row.value(axis));
        ShowNarrow(wnd, row.id, text);
        ShowCaption(wnd, row.captionId, row.caption, row.item + axis);
    }
    char text[64] = "";
    if (stepperAxis) {
        const float lead = Rec().distancePerMotorRevMm[axis];
        std::snprintf(text, sizeof text, "%g", static_cast<double>(g_unitMode == kUnitInch ? lead / kMmPerInchF : lead));
    }
    ShowNarrow(wnd, IDC_UP_LEAD, text);
    ShowCaption(wnd, IDC_UP_LEAD_CAPTION,
                g_unitMode == kUnitInch ? "Distance Per Motor Revolution (in)" : "Distance Per Motor Revolution (mm)",
                1143 + 4 * axis);
}

void FillIntegers(HWND wnd)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d", Rec().counts_per_360_q);
    ShowNarrow(wnd, IDC_UP_COUNTS_PER_360, text);
    ShowCaption(wnd, IDC_UP_COUNTS_PER_360_CAPTION, "(c) per 360\xC2\xB0 of stage", 1159);
    std::snprintf(text, sizeof text, "%d", Rec().zoomAxis);
    ShowNarrow(wnd, IDC_UP_ZOOM_AXIS, text);
    std::snprintf(text, sizeof text, "%02X", Rec().memoryInitialized);
    ShowNarrow(wnd, IDC_UP_MEMORY_INITIALIZED, text);
}

void Fill(HWND wnd)
{
    const int axis = g_radio_last;
    FillFlags(wnd, axis);
    const int method = Rec().zeroingMethod[axis];
    LogPrintf(g_log, "Setting selection to %d\n", method);
    g_fields.ShowSelection(wnd, kZeroingMethodId, method);
    ShowCaption(wnd, IDC_UP_ZEROING_CAPTION, "Zeroing Method", 1004 + axis);
    FillLengths(wnd, axis);
    FillFloats(wnd, axis);
    FillStepper(wnd, axis);
    FillIntegers(wnd);
}

void ApplyFlags(HWND wnd, int axis)
{
    for (const FlagRow& row : kFlagRows)
        if (InScope(row.scope, axis) && g_fields.CheckChanged(wnd, row.id))
            row.value(axis) = IsBoxChecked(wnd, row.id) ? 1 : 0;
}

// The number a field the technician changed leads with, read with "%g"
// into a float.
std::optional<float> ChangedNumber(HWND wnd, int id) { return g_fields.TakeTypedNumber(wnd, id, LeadingFloat); }

void ApplyFloats(HWND wnd, int axis)
{
    for (const FloatRow& row : kFloatRows)
        if (const std::optional<float> typed = InScope(row.scope, axis) ? ChangedNumber(wnd, row.id) : std::nullopt)
            row.value(axis) = *typed;
}

void ApplyLengths(HWND wnd, int axis)
{
    const uint32_t countsPerMm = g_param[AxisParam(kParamCountsPerMm, axis)];
    for (const LengthRow& row : kLengthRows)
        if (const std::optional<float> typed = InScope(row.scope, axis) ? ChangedNumber(wnd, row.id) : std::nullopt)
            row.value(axis) = UserLengthAsCounts(*typed, countsPerMm, g_unitMode);
}

// Returns whether the drive data of the axis changed.
bool ApplyStepper(HWND wnd, int axis)
{
    if (axis >= kEncoderAxisCount)
        return false;
    bool changed = false;
    for (const ScaledByteRow& row : kScaledByteRows) {
        if (const std::optional<float> typed = ChangedNumber(wnd, row.id)) {
            row.value(axis) = row.stored(*typed);
            changed = true;
        }
    }
    if (const std::optional<float> lead = ChangedNumber(wnd, IDC_UP_LEAD)) {
        Rec().distancePerMotorRevMm[axis] = g_unitMode == kUnitInch ? *lead * kMmPerInchF : *lead;
        changed = true;
    }
    return changed;
}

void ApplyIntegers(HWND wnd)
{
    // Whole numbers, read with "%d"; the byte keeps the low 8 bits.
    if (const std::optional<int32_t> typed = g_fields.TakeTypedNumber(wnd, IDC_UP_COUNTS_PER_360, LeadingInteger))
        Rec().counts_per_360_q = *typed;
    if (const std::optional<int32_t> typed = g_fields.TakeTypedNumber(wnd, IDC_UP_ZOOM_AXIS, LeadingInteger))
        Rec().zoomAxis = static_cast<uint8_t>(*typed & 0xFF);
    if (const std::optional<uint32_t> marker = g_fields.TakeTypedNumber(wnd, IDC_UP_MEMORY_INITIALIZED, LeadingHex))
        Rec().memoryInitialized = static_cast<uint8_t>(*marker);
}

void Apply(HWND wnd)
{
    const int axis = g_radio_last;
    ApplyFlags(wnd, axis);
    if (g_fields.SelectionChanged(wnd, kZeroingMethodId)) {
        const int position = ListSelection(wnd, kZeroingMethodId);
        LogPrintf(g_log, "COMBO current select %d\n", position);
        Rec().zeroingMethod[axis] = static_cast<uint8_t>(position);
    }
    ApplyLengths(wnd, axis);
    ApplyFloats(wnd, axis);
    if (ApplyStepper(wnd, axis))
        SetStepperCalibrationFromRecord(axis);
    ApplyIntegers(wnd);
    PackUserBoxData();
}

void ShowFenceControls(HWND wnd, int axis)
{
    for (int id : kFenceControls)
        ShowControl(wnd, id, axis < kUserBoxFenceAxes);
}

void OnAxisRadio(HWND wnd, int axis)
{
    if (axis == g_radio_last)
        return;
    Apply(wnd);
    g_radio_last = axis;
    ShowFenceControls(wnd, axis);
    Fill(wnd);
}

void OnHere(HWND wnd, int id)
{
    const int axis = g_radio_last;
    const int32_t p = RawPositionByMotorType(axis);
    if (id == IDC_UP_ZERO_OFFSET_HERE) {
        Rec().machine_zero_offset[axis] = AddCounts(p, -g_offset[axis]);
    } else if (axis < kUserBoxFenceAxes) {
        const int32_t v = AddCounts(AddCounts(p, -g_offset[axis]), -Rec().machine_zero_offset[axis]);
        LogPrintf(g_log, "pos %d\n", p);
        LogPrintf(g_log, "krv_user_box_data.machine_zero_offset[g_radio_last] %d\n", Rec().machine_zero_offset[axis]);
        LogPrintf(g_log, "g_offset[g_radio_last] %d\n", g_offset[axis]);
        LogPrintf(g_log, "storing value as pos-g_offset-machine_zero_offset%d\n", v);
        (id == IDC_UP_FENCE_PLUS_HERE ? Rec().swFencePlus : Rec().swFenceMinus)[axis] = v;
    }
    Fill(wnd);
}

// The "Here" buttons need a zero the homing established.
void OnTimer(HWND wnd)
{
    if (!g_boardPresent)
        return;
    const bool homed = g_radio_last < kEncoderAxisCount && g_homeRefFound[g_radio_last];
    for (int id : kHereButtons)
        EnableWindow(GetDlgItem(wnd, id), homed);
    // The zoom keeps moving while the dialog holds the main window's timer up.
    ZoomTimer();
}

void OnOk(HWND wnd)
{
    Apply(wnd);
    EndModal(wnd, 0);
}

void OnApplyButton(HWND wnd)
{
    Apply(wnd);
    Fill(wnd);
}

void OnInit(HWND wnd)
{
    g_fields.Forget();
    for (const wchar_t* method : kZeroingMethods)
        SendDlgItemMessageW(wnd, kZeroingMethodId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(method));
    SendDlgItemMessageW(wnd, kZeroingMethodId, CB_SETCURSEL, 0, 0);
    if (g_radio_last < 0 || g_radio_last >= kAxisCount)
        g_radio_last = kAxisX;
    Fill(wnd);
    ShowFenceControls(wnd, g_radio_last);
    CheckAxisRadio(wnd, g_radio_last);
    OnTimer(wnd);
    StartTimer(wnd, IDT_TICK, kTimerMs);
}

constexpr CommandRoute kRoutes[] = {
    {IDC_UP_OK, WindowHandler<OnOk>},
    {IDC_UP_APPLY, WindowHandler<OnApplyButton>},
    {IDC_UP_ZERO_OFFSET_HERE, OnHere},
    {IDC_UP_FENCE_PLUS_HERE, OnHere},
    {IDC_UP_FENCE_MINUS_HERE, OnHere},
};
// The close box and Escape leave without storing.
constexpr DialogBehaviour kBehaviour = {.init = OnInit, .routes = kRoutes, .axisRadio = OnAxisRadio, .tick = OnTimer};

} // namespace

INT_PTR CALLBACK UserParamsDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

void OpenUserParamsDialog(HWND owner) { RunModalDialog(owner, IDD_USER_PARAMS, UserParamsDlgProc); }
