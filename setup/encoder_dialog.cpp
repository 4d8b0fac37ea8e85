#include "setup/encoder_dialog.h"

#include "board/param_io.h"
#include "core/flash_items.h"
#include "core/number_text.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "driver/axb400.h"
#include "homing/reference_marks.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "res/resource.h"
#include "setup/setup_fields.h"
#include "ui/axis_radios.h"
#include "ui/dialog.h"
#include "ui/fields.h"
#include "ui/modal.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace {

constexpr UINT kTimerMs = 100;
constexpr uint32_t kZoomCountReverseBit = 0x04;
constexpr uint32_t kAcuRiteMarks = 2;
constexpr int kRefMarkRegister = 2;
constexpr uint16_t kAnalogInvertBit = 0x800;

struct ListItem {
    const wchar_t* text;
    int code;
};

constexpr ListItem kSignalTypes[] = {
    {L"11 \u00B5A", 0},
    {L"1Vpp Differential", 1},
    {L"1Vpp Single Ended", 2},
    {L"2Vpp Single Ended", 3},
    {L"4Vpp Single Ended", 4},
    {L"4Vpp Single Ended with LED", 5},
    {L"TTL Differential", 6},
    {L"TTL Single Ended", 7},
    {L"TTL Single Ended XnB", 8},
};

constexpr ListItem kInterpolations[] = {
    {L"?? Disabled", 0}, {L"1x", 3}, {L"5x", 4}, {L"10x", 6}, {L"20x", 8}, {L"25x", 9}, {L"50x", 10}, {L"100x", 11},
};

constexpr int kTtlInterpolationCode = 3;
constexpr int kTtlInterpolationItem = 1;

// Shown only for X..Q: the zoom's encoder has no signal settings or marks.
constexpr int kEncoderAxisControls[] = {
    IDC_ENC_SIGNAL_TYPE,   IDC_ENC_SIGNAL_CAPTION,   IDC_ENC_INTERPOLATION, IDC_ENC_INTERPOLATION_CAPTION,
    IDC_ENC_TTL_INVERTED,  IDC_ENC_ACU_RITE,         IDC_ENC_ANALOG_INVERTED, IDC_ENC_ROW_CONFIG,
    IDC_ENC_ROW_CONFIG_CAPTION, IDC_ENC_ROW_TTL,     IDC_ENC_ROW_TTL_CAPTION, IDC_ENC_INCREMENT,
    IDC_ENC_INCREMENT_CAPTION, IDC_ENC_PITCH,         IDC_ENC_PITCH_CAPTION,
};

struct ParamRow {
    int id;
    int captionId;
    const char* caption;
};

constexpr ParamRow kParamRows[] = {
    {IDC_ENC_ROW_COUNTS, IDC_ENC_ROW_COUNTS_CAPTION, "Enc Res (count/mm)"},
    {IDC_ENC_ROW_CONFIG, IDC_ENC_ROW_CONFIG_CAPTION, "Enc Config"},
    {IDC_ENC_ROW_DIRECTION, IDC_ENC_ROW_DIRECTION_CAPTION, "Count Direction"},
    {IDC_ENC_ROW_TTL, IDC_ENC_ROW_TTL_CAPTION, "TTL Ref Config"},
};

ShownFields g_fields;

bool IsTtl(int code) { return code >= 6 && code <= 8; }

template <size_t N>
int ItemOfCode(const ListItem (&items)[N], int code)
{
    for (size_t i = 0; i < N; ++i)
        if (items[i].code == code)
            return static_cast<int>(i);
    return -1;
}

int CountsPerMmParam(int axis)
{
    return axis == kZoomAxis ? kParamZoomCountsPerMm : AxisParam(kParamCountsPerMm, axis);
}

void ShowNumber(HWND wnd, int id, const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    g_fields.ShowText(wnd, id, WideFromUtf8(text).c_str());
}

// Lengths per count: "0" when the counts per mm are not known.
void ShowLengths(HWND wnd, int axis)
{
    const uint32_t counts = g_param[CountsPerMmParam(axis)];
    if (counts == 0) {
        for (int id : {IDC_ENC_RESOLUTION, IDC_ENC_INCREMENT, IDC_ENC_PITCH})
            g_fields.ShowText(wnd, id, L"0");
        return;
    }
    ShowNumber(wnd, IDC_ENC_RESOLUTION, "%f", 1.0 / counts);
    if (axis == kZoomAxis)
        return;
    const float perMm = static_cast<float>(counts);
    ShowNumber(wnd, IDC_ENC_INCREMENT, "%g",
               static_cast<double>(static_cast<float>(g_param[AxisParam(kParamMarkIncrement, axis)]) / perMm));
    ShowNumber(wnd, IDC_ENC_PITCH, "%g",
               static_cast<double>(static_cast<float>(g_param[AxisParam(kParamMarkPitch, axis)]) / perMm));
}

void ShowParamRows(HWND wnd, int axis)
{
    const int numbers[] = {CountsPerMmParam(axis), kParamEncoderConfigX + (axis < kEncoderAxisCount ? axis : 0),
                           axis == kZoomAxis ? kParamOptions : kParamCountDirection, kParamTtlRefConfig};
    for (size_t i = 0; i < std::size(kParamRows); ++i) {
        char text[64];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(g_param[numbers[i]]));
        SetDlgItemTextW(wnd, kParamRows[i].id, WideFromUtf8(text).c_str());
        SetParamCaption(wnd, kParamRows[i].captionId, WideFromUtf8(kParamRows[i].caption).c_str(), numbers[i]);
    }
}

void FillEncoderAxis(HWND wnd, int axis)
{
    const uint32_t config = g_param[kParamEncoderConfigX + axis];
    LogPrintf(g_log, "setting combos based on par %d value of %u\n", kParamEncoderConfigX + axis, config);
    g_fields.ShowSelection(wnd, IDC_ENC_SIGNAL_TYPE, ItemOfCode(kSignalTypes, static_cast<int>(config >> 8 & 0xFF)));
    g_log.Write("valid for interpol searching for multiplier\n");
    const int interpolation = ItemOfCode(kInterpolations, static_cast<int>(config & 0xFF));
    g_fields.ShowSelection(wnd, IDC_ENC_INTERPOLATION, interpolation);
    if (interpolation >= 0)
        EnableWindow(GetDlgItem(wnd, IDC_ENC_INTERPOLATION), TRUE);
    g_fields.ShowCheck(wnd, IDC_ENC_COUNT_REVERSE, (g_param[kParamCountDirection] & AxisBit(axis)) != 0);
    g_fields.ShowCheck(wnd, IDC_ENC_TTL_INVERTED, (g_param[kParamTtlRefConfig] & AxisBit(axis + 4)) != 0);
    g_fields.ShowCheck(wnd, IDC_ENC_ACU_RITE, g_param[AxisParam(kParamMarkType, axis)] == kAcuRiteMarks);
    g_fields.ShowCheck(wnd, IDC_ENC_ANALOG_INVERTED, krv_user_box_data.analogRefMarkInverted[axis] != 0);
}

void Fill(HWND wnd)
{
    const int axis = g_radio_last;
    if (axis < kEncoderAxisCount)
        FillEncoderAxis(wnd, axis);
    else
        g_fields.ShowCheck(wnd, IDC_ENC_COUNT_REVERSE, (g_param[kParamOptions] & kZoomCountReverseBit) != 0);
    ShowLengths(wnd, axis);
    CheckBox(wnd, IDC_ENC_REF_LOGGING, g_refMarkLogging[axis] != 0);
    ShowParamRows(wnd, axis);
}

// The board is written only where it holds something else.
void WriteParam(int number) { SetParamIfDifferent(number, g_param[number]); }

void SetBit(uint32_t& word, uint32_t bit, bool on) { word = on ? (word | bit) : (word & ~bit); }

void ApplyConfigWord(HWND wnd, int axis)
{
    if (!g_fields.SelectionChanged(wnd, IDC_ENC_SIGNAL_TYPE) && !g_fields.SelectionChanged(wnd, IDC_ENC_INTERPOLATION))
        return;
    const int number = kParamEncoderConfigX + axis;
    uint32_t config = g_param[number];
    const int signal = ListSelection(wnd, IDC_ENC_SIGNAL_TYPE);
    const int signalCode = signal >= 0 ? kSignalTypes[signal].code : static_cast<int>(config >> 8 & 0xFF);
    int low = static_cast<int>(config & 0xFF);
    if (IsTtl(signalCode)) {
        low = kTtlInterpolationCode;
    } else if (const int item = ListSelection(wnd, IDC_ENC_INTERPOLATION); item >= 0) {
        low = kInterpolations[item].code;
    }
    EnableWindow(GetDlgItem(wnd, IDC_ENC_INTERPOLATION), !IsTtl(signalCode));
    config = static_cast<uint32_t>(signalCode) << 8 | static_cast<uint32_t>(low);
    g_param[number] = config;
    LogPrintf(g_log, "setting par %dto %d\n", number, static_cast<int>(config));
    WriteParam(number);
}

void ApplyAnalogInversion(HWND wnd, int axis)
{
    if (!g_fields.CheckChanged(wnd, IDC_ENC_ANALOG_INVERTED))
        return;
    const bool inverted = IsBoxChecked(wnd, IDC_ENC_ANALOG_INVERTED);
    krv_user_box_data.analogRefMarkInverted[axis] = inverted ? 1 : 0;
    uint16_t reg = 0;
    AXB_GetAxisReg(0, axis, kRefMarkRegister, &reg);
    if (((reg & kAnalogInvertBit) != 0) != inverted)
        AXB_SetAxisReg(0, axis, kRefMarkRegister,
                       static_cast<uint16_t>(inverted ? reg | kAnalogInvertBit : reg & ~kAnalogInvertBit));
}

// A length field the technician changed, read with "%g" as its number
// leads the text; false, and the value kept, otherwise.
bool ReadChangedLength(HWND wnd, int id, float& value)
{
    const std::optional<float> typed = g_fields.TakeTypedNumber(wnd, id, LeadingFloat);
    value = typed.value_or(value);
    return typed.has_value();
}

// A length as counts at the resolution, the quotient in single precision;
// no resolution clears the parameter rather than dividing by it.
uint32_t CountsOfLength(float mm, float resolution)
{
    return resolution > 0.0f ? static_cast<uint32_t>(Nearest(mm / resolution)) : 0;
}

// The zoom's counts per mm: 1/r in double, narrowed to single precision
// before it is rounded.
uint32_t ZoomCountsPerMm(float resolution)
{
    if (!(resolution > 0.0f))
        return 0;
    const double perMm = 1.0 / resolution;
    LogPrintf(g_log, "resolution %g 1.0/%g=%g as integer %d\n", static_cast<double>(resolution),
              static_cast<double>(resolution), perMm, TruncateToInt32(perMm));
    constexpr double kLargestFloat = std::numeric_limits<float>::max();
    return static_cast<uint32_t>(Nearest(static_cast<float>(std::min(perMm, kLargestFloat))));
}

// Counts per mm, increment and pitch follow the lengths typed. A length
// left alone keeps its exact stored value, not the rounded one shown.
void ApplyLengths(HWND wnd, int axis)
{
    const int countsParam = CountsPerMmParam(axis);
    const uint32_t oldCounts = g_param[countsParam];
    // Single precision, as the board's tools work it out: 22.81 mm at
    // 0.000333 mm per count is 68499 counts.
    float resolution = oldCounts ? 1.0f / static_cast<float>(oldCounts) : 0.0f;
    const bool resolutionTyped = ReadChangedLength(wnd, IDC_ENC_RESOLUTION, resolution);
    if (resolutionTyped) {
        g_resolution[axis] = resolution;
        g_param[countsParam] = axis == kZoomAxis ? ZoomCountsPerMm(resolution) : CountsOfLength(1.0f, resolution);
        WriteParam(countsParam);
    }
    if (axis == kZoomAxis)
        return;
    for (auto [id, param] : {std::pair{IDC_ENC_INCREMENT, kParamMarkIncrement}, std::pair{IDC_ENC_PITCH, kParamMarkPitch}}) {
        const int number = AxisParam(param, axis);
        float mm = oldCounts ? static_cast<float>(g_param[number]) / static_cast<float>(oldCounts) : 0.0f;
        const bool typed = ReadChangedLength(wnd, id, mm);
        if (!typed && !resolutionTyped)
            continue;
        g_param[number] = CountsOfLength(mm, resolution);
        WriteParam(number);
    }
}

void ApplyEncoderAxis(HWND wnd, int axis)
{
    ApplyConfigWord(wnd, axis);
    if (g_fields.CheckChanged(wnd, IDC_ENC_COUNT_REVERSE)) {
        SetBit(g_param[kParamCountDirection], AxisBit(axis), IsBoxChecked(wnd, IDC_ENC_COUNT_REVERSE));
        WriteParam(kParamCountDirection);
    }
    if (g_fields.CheckChanged(wnd, IDC_ENC_ACU_RITE))
        g_param[AxisParam(kParamMarkType, axis)] = IsBoxChecked(wnd, IDC_ENC_ACU_RITE) ? kAcuRiteMarks : 0;
    ApplyAnalogInversion(wnd, axis);
    if (g_fields.CheckChanged(wnd, IDC_ENC_TTL_INVERTED)) {
        SetBit(g_param[kParamTtlRefConfig], AxisBit(axis + 4), IsBoxChecked(wnd, IDC_ENC_TTL_INVERTED));
        WriteParam(kParamTtlRefConfig);
    }
}

void Apply(HWND wnd)
{
    const int axis = g_radio_last;
    if (axis < kEncoderAxisCount) {
        ApplyEncoderAxis(wnd, axis);
    } else if (g_fields.CheckChanged(wnd, IDC_ENC_COUNT_REVERSE)) {
        SetBit(g_param[kParamOptions], kZoomCountReverseBit, IsBoxChecked(wnd, IDC_ENC_COUNT_REVERSE));
        WriteParam(kParamOptions);
    }
    ApplyLengths(wnd, axis);
    // Every conversion of the program follows the new counts per mm.
    RecomputeScales();
}

void ShowAxisControls(HWND wnd, int axis)
{
    for (int id : kEncoderAxisControls)
        ShowControl(wnd, id, axis != kZoomAxis);
}

void ShowResolutionCaption(HWND wnd, int axis, const char* qCaption)
{
    SetDlgItemTextW(wnd, IDC_ENC_RESOLUTION_CAPTION,
                    WideFromUtf8(axis == kAxisQ ? qCaption : "Enc Res (mm/count)").c_str());
}

void OnAxisRadio(HWND wnd, int axis)
{
    if (axis == g_radio_last)
        return;
    ShowResolutionCaption(wnd, axis, "Enc Res (360\xC2\xB0/counts)");
    ShowAxisControls(wnd, axis);
    Apply(wnd);
    g_radio_last = axis;
    Fill(wnd);
}

void OnRefLogging(HWND wnd)
{
    const int axis = g_radio_last;
    const bool on = IsBoxChecked(wnd, IDC_ENC_REF_LOGGING);
    if (on == (g_refMarkLogging[axis] != 0))
        return;
    g_refMarkLogging[axis] = on ? 1 : 0;
    updateReferenceMarkTypeAndEnable(static_cast<int8_t>(axis), on);
}

void OnTimer(HWND wnd)
{
    if (!g_boardPresent)
        return;
    const int signal = ListSelection(wnd, IDC_ENC_SIGNAL_TYPE);
    const bool ttl = signal >= 0 && IsTtl(kSignalTypes[signal].code);
    // A TTL signal shows "1x": what the display forces is no edit, so a
    // stored byte other than 3 is not rewritten by merely looking at it.
    if (ttl && ListSelection(wnd, IDC_ENC_INTERPOLATION) != kTtlInterpolationItem)
        g_fields.ShowSelection(wnd, IDC_ENC_INTERPOLATION, kTtlInterpolationItem);
    EnableWindow(GetDlgItem(wnd, IDC_ENC_INTERPOLATION), !ttl);
    RefMarkLogPoll();
}

void OnExit(HWND wnd)
{
    Apply(wnd);
    EndModal(wnd, 0);
}

void OnInit(HWND wnd)
{
    g_fields.Forget();
    if (g_radio_last < 0 || g_radio_last >= kAxisCount)
        g_radio_last = kAxisX;
    CheckAxisRadio(wnd, g_radio_last);
    ShowResolutionCaption(wnd, g_radio_last, "Enc Res (360\xC2\xB0/Counts)");
    ShowAxisControls(wnd, g_radio_last);
    for (const ListItem& item : kInterpolations)
        SendDlgItemMessageW(wnd, IDC_ENC_INTERPOLATION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.text));
    for (const ListItem& item : kSignalTypes)
        SendDlgItemMessageW(wnd, IDC_ENC_SIGNAL_TYPE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.text));
    Fill(wnd);
    StartTimer(wnd, IDT_TICK, kTimerMs);
}

constexpr CommandRoute kRoutes[] = {
    {IDC_ENC_EXIT, WindowHandler<OnExit>},
    {IDC_ENC_REF_LOGGING, WindowHandler<OnRefLogging>},
};
// The close box and Escape leave without applying.
constexpr DialogBehaviour kBehaviour = {.init = OnInit, .routes = kRoutes, .axisRadio = OnAxisRadio, .tick = OnTimer};

} // namespace

INT_PTR CALLBACK EncoderDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

void OpenEncoderDialog(HWND owner) { RunModalDialog(owner, IDD_ENCODER, EncoderDlgProc); }
