#include "app/param_fields.h"

#include "board/board_ready.h"
#include "board/param_io.h"
#include "core/motion_state.h"
#include "core/session_state.h"
#include "core/velocity_word.h"
#include "driver/axb400.h"
#include "infra/log.h"
#include "params/goto_settings.h"
#include "ui/control_text.h"

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <iterator>

bool g_displayParamNumber;

namespace {

constexpr int kFieldCount = static_cast<int>(std::size(kParamFieldTable));
constexpr int kTextCapacity = 128;

constexpr int kAxisRadios[kAxisCount] = {IDC_AXIS_X, IDC_AXIS_Y, IDC_AXIS_Z, IDC_AXIS_Q, IDC_AXIS_ZOOM};

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

// What each field showed when last filled, and for which parameter: a field
// whose text the technician did not touch leaves its parameter as it is, so
// showing a value with "%g" and reading it back never changes the board.
struct ShownField {
    int param = -1;
    wchar_t text[kTextCapacity] = {};
};
ShownField g_shownFields[kFieldCount];
ShownField g_shownTarget;

bool IsConvertingMode() { return g_unitMode == kUnitInch || g_unitMode == kUnitMm; }

int KindFor(const ParamField& row) { return g_unitMode == kUnitInch ? row.kindInch : row.kindMm; }

void ReadText(HWND wnd, int id, wchar_t (&text)[kTextCapacity])
{
    text[0] = L'\0';
    GetDlgItemTextW(wnd, id, text, kTextCapacity);
}

// "nan" and "inf" scan as floats but are no value a parameter, target or
// velocity can take.
bool ParseFloat(const wchar_t* text, float& value)
{
    return swscanf(text, L"%g", &value) == 1 && std::isfinite(value);
}

bool Untouched(const ShownField& shown, int param, const wchar_t* text)
{
    return shown.param == param && wcscmp(shown.text, text) == 0;
}

void Remember(ShownField& shown, int param, const wchar_t* text)
{
    shown.param = param;
    wcsncpy(shown.text, text, kTextCapacity - 1);
    shown.text[kTextCapacity - 1] = L'\0';
}

void LogConversion(const char* text) { g_log.Write(text); }

void ApplyRow(HWND wnd, int row, int axis)
{
    const ParamField& field = kParamFieldTable[row];
    const int param = field.param + kAxisParamStride * axis;
    wchar_t text[kTextCapacity];
    ReadText(wnd, field.editId, text);
    float value = 0.0f;
    if (Untouched(g_shownFields[row], param, text) || !ParseFloat(text, value))
        return;
    if (!IsConvertingMode()) {
        g_param[param] = static_cast<uint32_t>(Nearest(value));
        return;
    }
    const int kind = KindFor(field);
    if (g_stepperCalValid[g_radio_last] == 0 && IsStepperKind(kind))
        return;
    g_param[param] = static_cast<uint32_t>(UnitsToCounts(value, g_radio_last, kind, LogConversion));
}

void ApplyTarget(HWND wnd, int axis)
{
    wchar_t text[kTextCapacity];
    ReadText(wnd, IDC_TARGET, text);
    float value = 0.0f;
    if (Untouched(g_shownTarget, axis, text) || !ParseFloat(text, value))
        return;
    g_targetMm[axis] = g_unitMode == kUnitInch ? value * kMmPerInchF : value;
}

void ApplyVelocityPercent(HWND wnd, int axis)
{
    wchar_t text[kTextCapacity];
    ReadText(wnd, IDC_VEL_PERCENT, text);
    float value = 0.0f;
    if (!ParseFloat(text, value) || value == g_velPercent[axis])
        return;
    g_velPercent[axis] = value;
    const int32_t percent = TruncateToInt32(value);
    g_cmdVelPercent[axis] = percent;
    AXB_SetVelocityPercent(0, axis, WholePercentVelocityWord(percent, g_velScale));
}

int CheckedAxisBlock(HWND wnd)
{
    for (int a = 0; a < kAxisCount - 1; ++a)
        if (IsDlgButtonChecked(wnd, kAxisRadios[a]) == BST_CHECKED)
            return kAxisParamStride * a;
    return kAxisParamStride * (kAxisCount - 1);
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
    const int show = (shownClasses & ClassBit(field.motorClass)) ? SW_SHOW : SW_HIDE;
    ShowWindow(GetDlgItem(wnd, field.captionId), show);
    ShowWindow(GetDlgItem(wnd, field.editId), show);
}

// Unit modes other than 0, 1 and 2 show the As Stored captions.
int CaptionColumn() { return IsConvertingMode() ? g_unitMode : 0; }

void FillCaptions(HWND wnd)
{
    const bool numbers = IsDlgButtonChecked(wnd, IDC_DISPLAY_PARAM_NUMBER) == BST_CHECKED;
    wchar_t text[kTextCapacity];
    for (const ParamField& field : kParamFieldTable) {
        const wchar_t* caption = field.caption[CaptionColumn()];
        if (numbers)
            swprintf(text, kTextCapacity, L"%ls(P%03d)", caption, field.param + kAxisParamStride * g_radio_last);
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
    for (int row = 0; row < kFieldCount; ++row)
        ApplyRow(wnd, row, axis);
    ApplyTarget(wnd, axis);
    ApplyVelocityPercent(wnd, axis);
}

void FillParamFields(HWND wnd)
{
    const int block = CheckedAxisBlock(wnd);
    const int motorType = AxisMotorType(g_radio_last);
    wchar_t text[kTextCapacity];
    for (int row = 0; row < kFieldCount; ++row) {
        const ParamField& field = kParamFieldTable[row];
        const int param = field.param + block;
        FormatRowValue(field, static_cast<int32_t>(g_param[param]), text);
        SetControlTextIfChanged(wnd, field.editId, text);
        Remember(g_shownFields[row], param, text);
        ShowRow(wnd, field, kShownClasses[motorType]);
    }

    const double target = g_targetMm[g_radio_last];
    if (g_unitMode == kUnitInch)
        swprintf(text, kTextCapacity, L"%.5f", target / kMmPerInch);
    else
        swprintf(text, kTextCapacity, L"%.4f", target);
    SetControlTextIfChanged(wnd, IDC_TARGET, text);
    Remember(g_shownTarget, g_radio_last, text);
    swprintf(text, kTextCapacity, L"%d", TruncateToInt32(g_velPercent[g_radio_last]));
    SetControlTextIfChanged(wnd, IDC_VEL_PERCENT, text);

    FillCaptions(wnd);
}

void SyncAxisRadios(HWND wnd)
{
    for (int id : kAxisRadios)
        CheckDlgButton(wnd, id, BST_UNCHECKED);
    const int axis = g_radio_last >= 0 && g_radio_last < kAxisCount ? g_radio_last : kAxisCount - 1;
    CheckDlgButton(wnd, kAxisRadios[axis], BST_CHECKED);
    const int show = axis == kAxisCount - 1 ? SW_SHOW : SW_HIDE;
    ShowWindow(GetDlgItem(wnd, IDC_HOME), show);
    ShowWindow(GetDlgItem(wnd, IDC_CONT_HOME), show);
}

void CommitParams(HWND wnd)
{
    ApplyFieldsToParams(wnd, g_radio_last);
    WriteDifferingParams();
    RecomputeScales();
}

void ResetParamFields()
{
    g_displayParamNumber = false;
    for (ShownField& shown : g_shownFields)
        shown = ShownField{};
    g_shownTarget = ShownField{};
}
