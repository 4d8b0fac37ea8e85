#include "app/param_fields.h"

#include "board/axis_commands.h"
#include "board/param_io.h"
#include "core/motion_state.h"
#include "core/param_diff.h"
#include "core/number_text.h"
#include "core/session_state.h"
#include "infra/log.h"
#include "ui/axis_radios.h"
#include "ui/control_text.h"
#include "ui/fields.h"

#include <array>
#include <cwchar>

namespace {

constexpr int kTextCapacity = kFieldTextCapacity;

constexpr int ClassBit(int motorClass) { return 1 << motorClass; }
constexpr int kKeepVisibility = -1;
// Classes shown per motor type 0..7; types 6 and 7 leave the rows as they are.
constexpr int kShownClasses[8] = {
    0,
    ClassBit(kClassProfile) | ClassBit(kClassServo),
    ClassBit(kClassProfile) | ClassBit(kClassMotorLag) | ClassBit(kClassServo),
    ClassBit(kClassProfile) | ClassBit(kClassStepper) | ClassBit(kClassServo),
    ClassBit(kClassProfile) | ClassBit(kClassStepper),
    ClassBit(kClassProfile) | ClassBit(kClassMotorLag) | ClassBit(kClassServo),
    kKeepVisibility,
    kKeepVisibility,
};

constexpr int kAxisButtonIds[kAxisCount] = {IDC_ZERO_X, IDC_ZERO_Y, IDC_ZERO_Z, IDC_ZERO_Q, IDC_ZERO_ZOOM};
constexpr const wchar_t* kAxisButtonNames[kAxisCount] = {L"X", L"Y", L"Z", L"Q", L"Zm"};
struct ReadoutLabel {
    int id;
    const wchar_t* name;
    const wchar_t* unitSuffix;   // after the unit: "" or "/s"
};
constexpr ReadoutLabel kReadoutLabels[] = {
    {IDC_LABEL_POSITION, L"Position ", L""},
    {IDC_LABEL_FOLLOWING, L"Following Error ", L""},
    {IDC_LABEL_VELOCITY, L"Velocity ", L"/s"},
    {IDC_LABEL_MAX_FOLLOWING, L"Max Following ", L""},
    {IDC_LABEL_TARGET, L"Target ", L""},
};

// What each field showed when last filled, and for which parameter (the
// Target field for which axis): a field whose text the technician did not
// touch leaves its value as it is, so showing a value with "%g" and reading
// it back never changes the board. The fields are read with "%g": the
// number their text starts with.
ShownFields g_shown;

constexpr auto kDiffNames = [] {
    std::array<ParamFieldName, std::size(kParamFieldTable)> names{};
    for (size_t i = 0; i < names.size(); ++i) {
        const ParamField& f = kParamFieldTable[i];
        names[i] = {f.param, {f.caption[0], f.caption[1], f.caption[2]}, f.kindInch, f.kindMm, f.raw};
    }
    return names;
}();

bool IsConvertingMode() { return g_unitMode == kUnitInch || g_unitMode == kUnitMm; }

int KindFor(const ParamField& row) { return g_unitMode == kUnitInch ? row.kindInch : row.kindMm; }

void LogConversion(const char* text) { g_log.Write(text); }

void ApplyRow(HWND wnd, const ParamField& field, int axis)
{
    const int param = AxisParam(field.param, axis);
    const std::optional<float> value = g_shown.TakeTypedNumber(wnd, field.editId, LeadingFloat, param);
    if (!value)
        return;
    if (!IsConvertingMode()) {
        g_param[param] = static_cast<uint32_t>(Nearest(*value));
        return;
    }
    const int kind = KindFor(field);
    if (g_stepperCalValid[g_radio_last] == 0 && IsStepperKind(kind))
        return;
    g_param[param] = static_cast<uint32_t>(UnitsToCounts(*value, g_radio_last, kind, LogConversion));
}

void ApplyTarget(HWND wnd, int axis)
{
    if (const std::optional<float> value = g_shown.TakeTypedNumber(wnd, IDC_TARGET, LeadingFloat, axis))
        g_targetMm[axis] = g_unitMode == kUnitInch ? *value * kMmPerInchF : *value;
}

void ApplyVelocityPercent(HWND wnd, int axis)
{
    const std::optional<float> value = LeadingFloat(FieldText(wnd, IDC_VEL_PERCENT));
    if (!value || *value == g_velPercent[axis])
        return;
    g_velPercent[axis] = *value;
    SendVelocityPercent(axis, TruncateToInt32(*value));
}

int CheckedAxis(HWND wnd)
{
    for (int a = 0; a < kAxisCount - 1; ++a)
        if (IsBoxChecked(wnd, kAxisRadioIds[a]))
            return a;
    return kAxisCount - 1;
}

void FormatRowValue(const ParamField& field, int32_t stored, wchar_t (&text)[kTextCapacity])
{
    if (field.raw || !IsConvertingMode()) {
        swprintf(text, kTextCapacity, L"%d", stored);
        return;
    }
    const int kind = KindFor(field);
    if (g_stepperCalValid[g_radio_last] == 0 && IsStepperKind(kind))
        swprintf(text, kTextCapacity, L"?????");
    else
        swprintf(text, kTextCapacity, L"%g", static_cast<double>(CountsToUnits(stored, g_radio_last, kind)));
}

void ShowRow(HWND wnd, const ParamField& field, int shownClasses)
{
    if (shownClasses == kKeepVisibility)
        return;
    const bool shown = (shownClasses & ClassBit(field.motorClass)) != 0;
    ShowControl(wnd, field.captionId, shown);
    ShowControl(wnd, field.editId, shown);
}

// Unit modes other than 0, 1 and 2 show the As Stored captions.
int CaptionColumn() { return IsConvertingMode() ? g_unitMode : 0; }

void FillCaptions(HWND wnd)
{
    wchar_t text[kTextCapacity];
    for (const ParamField& field : kParamFieldTable) {
        const wchar_t* caption = field.caption[CaptionColumn()];
        if (g_displayParamNumber)
            swprintf(text, kTextCapacity, L"%ls(P%03d)", caption, AxisParam(field.param, g_radio_last));
        else
            swprintf(text, kTextCapacity, L"%ls", caption);
        SetControlTextIfChanged(wnd, field.captionId, text);
    }
    const wchar_t* unit = g_unitMode == kUnitInch ? L"in" : L"mm";
    for (int a = 0; a < kAxisCount; ++a) {
        swprintf(text, kTextCapacity, L"%ls(%ls)", kAxisButtonNames[a], unit);
        SetControlTextIfChanged(wnd, kAxisButtonIds[a], text);
    }
    for (const ReadoutLabel& label : kReadoutLabels) {
        swprintf(text, kTextCapacity, L"%ls(%ls%ls)", label.name, unit, label.unitSuffix);
        SetControlTextIfChanged(wnd, label.id, text);
    }
}

} // namespace

void ApplyFieldsToParams(HWND wnd, int axis)
{
    for (const ParamField& field : kParamFieldTable)
        ApplyRow(wnd, field, axis);
    ApplyTarget(wnd, axis);
    ApplyVelocityPercent(wnd, axis);
}

void FillParamFields(HWND wnd)
{
    const int axis = CheckedAxis(wnd);
    const int motorType = AxisMotorType(g_radio_last);
    wchar_t text[kTextCapacity];
    for (const ParamField& field : kParamFieldTable) {
        const int param = AxisParam(field.param, axis);
        FormatRowValue(field, static_cast<int32_t>(g_param[param]), text);
        g_shown.ShowText(wnd, field.editId, text, param);
        ShowRow(wnd, field, kShownClasses[motorType]);
    }

    const double target = g_targetMm[g_radio_last];
    if (g_unitMode == kUnitInch)
        swprintf(text, kTextCapacity, L"%.5f", target / kMmPerInch);
    else
        swprintf(text, kTextCapacity, L"%.4f", target);
    g_shown.ShowText(wnd, IDC_TARGET, text, g_radio_last);
    swprintf(text, kTextCapacity, L"%d", TruncateToInt32(g_velPercent[g_radio_last]));
    SetControlTextIfChanged(wnd, IDC_VEL_PERCENT, text);

    FillCaptions(wnd);
}

void SyncAxisRadios(HWND wnd)
{
    const int axis = g_radio_last >= 0 && g_radio_last < kAxisCount ? g_radio_last : kZoomAxis;
    CheckAxisRadio(wnd, axis);
    ShowControl(wnd, IDC_HOME, axis == kZoomAxis);
    ShowControl(wnd, IDC_CONT_HOME, axis == kZoomAxis);
}

void CommitParams(HWND wnd)
{
    ApplyFieldsToParams(wnd, g_radio_last);
    WriteDifferingParams();
    RecomputeScales();
}

void ResetParamFields() { g_shown.Forget(); }

void NameParamFieldsForDiffs() { SetParamFieldNames(kDiffNames); }
