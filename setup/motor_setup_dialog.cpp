#include "setup/motor_setup_dialog.h"

#include "board/param_io.h"
#include "core/number_text.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "driver/axb400.h"
#include "infra/log.h"
#include "res/resource.h"
#include "setup/setup_fields.h"
#include "ui/axis_radios.h"
#include "ui/dialog.h"
#include "ui/fields.h"
#include "ui/modal.h"

#include <algorithm>
#include <iterator>
#include <span>

namespace {

// Firmware generations: the board type can be asked from 0x00020200 on; the
// stepper currents are written from 0x00020307 on and shown from 0x00020403.
constexpr uint32_t kBoardTypeFirmware = 0x00020200;
constexpr uint32_t kStepperWriteFirmware = 0x00020307;
constexpr uint32_t kStepperShowFirmware = 0x00020403;
// Board type 2 drives analog and step/direction amplifiers: its own motor
// list, no current limit, no stepper currents.
constexpr uint32_t kAmplifierBoardType = 2;


constexpr uint32_t kMotorTypeBits = 0x7;
constexpr uint32_t kCncPlaybackOff = 0x8;
constexpr uint32_t kSwapLimits = 0x1;
constexpr uint32_t kActiveLowLimits = 0x2;
constexpr uint32_t kMaxInitTorque = 20;
constexpr uint32_t kByteMax = 0xFF;

// The code of a motor type is its position in the list.
constexpr const wchar_t* kMotorTypesA[] = {L"Motor Disabled",         L"Brushed DC motor", L"Brushless DC + Encoder",
                                           L"Stepper motor",          L"Open Loop Stepper",
                                           L"Brushless DC Open Loop"};
constexpr const wchar_t* kMotorTypesB[] = {L"Motor Disabled", L"+/- 10 V Analog", L"Resereved", L"Step and Direction",
                                           L"Open Loop S&D"};
constexpr const wchar_t* kZoomMotorTypes[] = {L"Motor Disabled", L"Brushed DC motor"};
// Positions whose motors need the commutation settings.
constexpr int kCommutatedPositions[] = {2, 5};

struct CaptionRow {
    int id;
    const wchar_t* name;
    int param;   // X number
};
constexpr CaptionRow kCaptions[] = {
    {IDC_MOTOR_TYPE_CAPTION, L"Motor Type", kParamMotorType},
    {IDC_MOTOR_REVERSED, L"Motor Reversed", kParamMotorReversed},
    {IDC_MOTOR_SWAP_LIMITS, L"Swap Limits", kParamLimitSwitches},
    {IDC_MOTOR_ACTIVE_LOW, L"Active Low Limit", kParamLimitSwitches},
    {IDC_MOTOR_CNC_PLAYBACK, L"CNC Playback", kParamMotorType},
    {IDC_MOTOR_BACKOFF_CAPTION, L"Limit Backoff (1 = .1mm)", kParamLimitBackoff},
    {IDC_MOTOR_CURRENT_CAPTION, L"Current Limit (ma)", kParamCurrentLimit},
    {IDC_MOTOR_RUN_CURRENT_CAPTION, L"Max Running Current (% of 3.3A)", kParamRunCurrent},
    {IDC_MOTOR_HOLD_CURRENT_CAPTION, L"Holding Current(% of 3.3A)", kParamHoldCurrent},
    {IDC_MOTOR_SWITCHOVER_CAPTION, L"Switchover Frequency(Hz)", kParamSwitchoverFrequency},
};

struct FieldRow {
    int id;
    int param;   // X number
};
constexpr FieldRow kUnsignedFields[] = {
    {IDC_MOTOR_CURRENT_LIMIT, kParamCurrentLimit}, {IDC_MOTOR_BACKOFF, kParamLimitBackoff},
    {IDC_MOTOR_RUN_CURRENT, kParamRunCurrent},     {IDC_MOTOR_HOLD_CURRENT, kParamHoldCurrent},
    {IDC_MOTOR_SWITCHOVER, kParamSwitchoverFrequency},      {IDC_MOTOR_INIT_TORQUE, kParamInitTorque},
    {IDC_MOTOR_INIT_TIME, kParamInitTime},         {IDC_MOTOR_TORQUE_FACTOR, kParamTorqueFactor},
};
// Written in this order after the limits; the stepper currents only where
// the board has them.
constexpr FieldRow kLimitFields[] = {{IDC_MOTOR_CURRENT_LIMIT, kParamCurrentLimit}, {IDC_MOTOR_BACKOFF, kParamLimitBackoff}};
constexpr FieldRow kStepperFields[] = {{IDC_MOTOR_RUN_CURRENT, kParamRunCurrent},
                                       {IDC_MOTOR_HOLD_CURRENT, kParamHoldCurrent},
                                       {IDC_MOTOR_SWITCHOVER, kParamSwitchoverFrequency}};
constexpr int kCurrentLimitControls[] = {IDC_MOTOR_CURRENT_CAPTION, IDC_MOTOR_CURRENT_LIMIT};
constexpr int kStepperControls[] = {IDC_MOTOR_RUN_CURRENT_CAPTION,  IDC_MOTOR_RUN_CURRENT,
                                    IDC_MOTOR_HOLD_CURRENT_CAPTION, IDC_MOTOR_HOLD_CURRENT,
                                    IDC_MOTOR_SWITCHOVER_CAPTION,   IDC_MOTOR_SWITCHOVER};
constexpr int kCommutationControls[] = {
    IDC_MOTOR_INIT_TORQUE_CAPTION, IDC_MOTOR_INIT_TORQUE,  IDC_MOTOR_INIT_TIME_CAPTION, IDC_MOTOR_INIT_TIME,
    IDC_MOTOR_IMPULSE_CAPTION,     IDC_MOTOR_IMPULSE_TIME, IDC_MOTOR_IMPULSE_AMP,       IDC_MOTOR_TORQUE_FACTOR_CAPTION,
    IDC_MOTOR_TORQUE_FACTOR};
constexpr int kEnabledOnOpening[] = {IDC_MOTOR_TYPE,         IDC_MOTOR_TYPE_ZOOM,   IDC_MOTOR_REVERSED,
                                     IDC_MOTOR_SWAP_LIMITS,  IDC_MOTOR_ACTIVE_LOW,  IDC_MOTOR_CURRENT_LIMIT,
                                     IDC_MOTOR_BACKOFF,      IDC_MOTOR_RUN_CURRENT, IDC_MOTOR_HOLD_CURRENT,
                                     IDC_MOTOR_SWITCHOVER};

uint32_t g_boardType;   // 0 until a firmware that knows its type reported it

int Param(int xParam) { return AxisParam(xParam, g_radio_last); }

void ShowControls(HWND wnd, std::span<const int> ids, bool show)
{
    for (int id : ids)
        ShowControl(wnd, id, show);
}

// Older firmware cannot say which board it runs on; such a board counts as
// type 0 instead of whatever the variable held. The call's result is not
// examined: the type is what it answers.
uint32_t ReadBoardType()
{
    uint32_t type = 0;
    if (g_firmwareVersion >= kBoardTypeFirmware)
        AXB_GetBoardType(0, &type);
    return type;
}

bool BoardHasStepperCurrents() { return g_boardType != kAmplifierBoardType; }

int VisibleListId() { return g_radio_last == kZoomAxis ? IDC_MOTOR_TYPE_ZOOM : IDC_MOTOR_TYPE; }

void FillList(HWND wnd, int id, std::span<const wchar_t* const> items)
{
    SendDlgItemMessageW(wnd, id, CB_RESETCONTENT, 0, 0);
    for (const wchar_t* item : items)
        SendDlgItemMessageW(wnd, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

// The position of the visible list's selection, -1 for none.
int SelectedPosition(HWND wnd)
{
    const int position = static_cast<int>(SendDlgItemMessageW(wnd, VisibleListId(), CB_GETCURSEL, 0, 0));
    LogPrintf(g_log, "CUR_SEL %d\n", position);
    return position;
}

void SetCommutationGroup(HWND wnd)
{
    const int position = SelectedPosition(wnd);
    ShowControls(wnd, kCommutationControls, std::ranges::find(kCommutatedPositions, position) != std::end(kCommutatedPositions));
}

void SelectMotorType(HWND wnd)
{
    const int id = VisibleListId();
    const auto code = static_cast<int>(g_param[Param(kParamMotorType)] & kMotorTypeBits);
    const auto count = static_cast<int>(SendDlgItemMessageW(wnd, id, CB_GETCOUNT, 0, 0));
    // A code the list does not offer shows no selection; applying keeps it.
    SendDlgItemMessageW(wnd, id, CB_SETCURSEL, code < count ? code : -1, 0);
}

void FillImpulseFields(HWND wnd)
{
    const uint32_t impulse = g_param[Param(kParamImpulse)];
    SetUnsignedField(wnd, IDC_MOTOR_IMPULSE_TIME, impulse & kByteMax);
    SetUnsignedField(wnd, IDC_MOTOR_IMPULSE_AMP, (impulse >> 8) & kByteMax);
}

void Fill(HWND wnd)
{
    SelectMotorType(wnd);
    const uint32_t type = g_param[Param(kParamMotorType)];
    const uint32_t limits = g_param[Param(kParamLimitSwitches)];
    CheckBox(wnd, IDC_MOTOR_CNC_PLAYBACK, (type & kCncPlaybackOff) == 0);
    CheckBox(wnd, IDC_MOTOR_SWAP_LIMITS, limits & kSwapLimits);
    CheckBox(wnd, IDC_MOTOR_ACTIVE_LOW, limits & kActiveLowLimits);
    CheckBox(wnd, IDC_MOTOR_REVERSED, g_param[Param(kParamMotorReversed)] & 1);
    for (const FieldRow& field : kUnsignedFields)
        SetUnsignedField(wnd, field.id, g_param[Param(field.param)]);
    FillImpulseFields(wnd);
    for (const CaptionRow& caption : kCaptions)
        SetParamCaption(wnd, caption.id, caption.name, Param(caption.param));
    const bool zoom = g_radio_last == kZoomAxis;
    ShowControl(wnd, IDC_MOTOR_TYPE_ZOOM, zoom);
    ShowControl(wnd, IDC_MOTOR_TYPE, !zoom);
}

// A field without a number keeps the stored value; either way the board is
// brought to the table's value.
void ApplyField(HWND wnd, const FieldRow& field, uint32_t max = UINT32_MAX)
{
    uint32_t value = g_param[Param(field.param)];
    ReadUnsignedField(wnd, field.id, value);
    StoreParam(Param(field.param), std::min(value, max));
}

void ApplyMotorType(HWND wnd)
{
    const int position = SelectedPosition(wnd);
    const uint32_t stored = g_param[Param(kParamMotorType)];
    const uint32_t code = position >= 0 ? static_cast<uint32_t>(position) : stored & kMotorTypeBits;
    const uint32_t value = code + (IsBoxChecked(wnd, IDC_MOTOR_CNC_PLAYBACK) ? 0 : kCncPlaybackOff);
    LogPrintf(g_log, "SAVING P064 as%u\n", value);
    StoreParam(Param(kParamMotorType), value);
}

void ApplyImpulse(HWND wnd)
{
    const uint32_t stored = g_param[Param(kParamImpulse)];
    uint32_t time = stored & kByteMax;
    uint32_t amplitude = (stored >> 8) & kByteMax;
    ReadUnsignedField(wnd, IDC_MOTOR_IMPULSE_TIME, time);
    ReadUnsignedField(wnd, IDC_MOTOR_IMPULSE_AMP, amplitude);
    StoreParam(Param(kParamImpulse), std::min(time, kByteMax) | std::min(amplitude, kByteMax) << 8);
}

// "Positioning Torque Factor SINT" is shown unsigned like its neighbours and
// takes a signed value as typed too: either way its 32 bits are kept.
void ApplyTorqueFactor(HWND wnd)
{
    const int param = Param(kParamTorqueFactor);
    const std::wstring text = FieldText(wnd, IDC_MOTOR_TORQUE_FACTOR);
    uint32_t value = g_param[param];
    if (const std::optional<int32_t> typed = WholeSigned(text))
        value = static_cast<uint32_t>(*typed);
    else
        ReadUnsignedField(wnd, IDC_MOTOR_TORQUE_FACTOR, value);
    StoreParam(param, value);
}

void Apply(HWND wnd)
{
    g_boardType = ReadBoardType();
    ApplyMotorType(wnd);
    StoreParam(Param(kParamLimitSwitches),
               (IsBoxChecked(wnd, IDC_MOTOR_SWAP_LIMITS) ? kSwapLimits : 0) | (IsBoxChecked(wnd, IDC_MOTOR_ACTIVE_LOW) ? kActiveLowLimits : 0));
    StoreParam(Param(kParamMotorReversed), IsBoxChecked(wnd, IDC_MOTOR_REVERSED) ? 1 : 0);
    for (const FieldRow& field : kLimitFields)
        ApplyField(wnd, field);
    if (g_firmwareVersion >= kStepperWriteFirmware && BoardHasStepperCurrents())
        for (const FieldRow& field : kStepperFields)
            ApplyField(wnd, field);
    ApplyField(wnd, {IDC_MOTOR_INIT_TORQUE, kParamInitTorque}, kMaxInitTorque);
    ApplyField(wnd, {IDC_MOTOR_INIT_TIME, kParamInitTime});
    ApplyImpulse(wnd);
    ApplyTorqueFactor(wnd);
}

void OnInitDialog(HWND wnd)
{
    CheckAxisRadio(wnd, TakeOpeningAxis());
    g_boardType = ReadBoardType();
    const bool amplifierBoard = g_boardType == kAmplifierBoardType;
    ShowControls(wnd, kCurrentLimitControls, !amplifierBoard);
    if (amplifierBoard)
        FillList(wnd, IDC_MOTOR_TYPE, kMotorTypesB);
    else
        FillList(wnd, IDC_MOTOR_TYPE, kMotorTypesA);
    FillList(wnd, IDC_MOTOR_TYPE_ZOOM, kZoomMotorTypes);
    ShowControls(wnd, kStepperControls, g_firmwareVersion >= kStepperShowFirmware && !amplifierBoard);
    Fill(wnd);
    for (int id : kEnabledOnOpening)
        EnableWindow(GetDlgItem(wnd, id), TRUE);
    SetCommutationGroup(wnd);
}

void OnAxisRadio(HWND wnd, int axis)
{
    Apply(wnd);
    g_radio_last = axis;
    CheckAxisRadio(wnd, axis);
    Fill(wnd);
    SetCommutationGroup(wnd);
}

void OnExit(HWND wnd)
{
    Apply(wnd);
    EndModal(wnd, 0);
}

constexpr CommandRoute kRoutes[] = {
    {IDC_MOTOR_TYPE, WindowHandler<SetCommutationGroup>, CBN_SELCHANGE},
    {IDC_MOTOR_EXIT, WindowHandler<OnExit>},
};
// The close box and Escape end the dialog; the window stores the fields
// while it goes, so every way out stores.
constexpr DialogBehaviour kBehaviour = {
    .init = OnInitDialog, .routes = kRoutes, .axisRadio = OnAxisRadio, .destroyed = Apply};

} // namespace

INT_PTR CALLBACK MotorSetupDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

void RunMotorSetupDialog(HWND owner) { RunModalDialog(owner, IDD_MOTOR_SETUP, MotorSetupDlgProc); }

void ResetMotorSetupDialog() { g_boardType = 0; }
