#include "status/status_dialog.h"

#include "core/axes.h"
#include "core/session_state.h"
#include "core/status_bits.h"
#include "driver/axb400.h"
#include "infra/clock.h"
#include "infra/user_prompts.h"
#include "res/resource.h"
#include "status/power_dialog.h"
#include "ui/control_text.h"
#include "ui/dialog.h"
#include "ui/main_window_handle.h"
#include "ui/modeless.h"

#include <array>
#include <cstdint>
#include <cwchar>
#include <iterator>
#include <optional>
#include <span>

HWND g_statusDlg;

namespace {

constexpr UINT kRefreshMs = 100;

// The bits of each word that have a box, in the order of the boxes.
// Move status: SW Limit+, SW Limit -, HW Limit +, HW Limit -.
constexpr uint32_t kMoveStatusBits[] = {kMoveSoftLimitPlus, kMoveSoftLimitMinus, kMoveHardLimitPlus, kMoveHardLimitMinus};
// Error byte: Following Error, Motion Monitor, Over Current, E-Stop, Touch
// Probe Retract.
constexpr uint32_t kErrorBits[] = {kErrorFollowing, kErrorMotionMonitor, kErrorOverCurrent, kErrorEmergencyStop,
                                   kErrorProbeRetract};
// Axis status: Encoder Freq Error, Encoder Signal Error.
constexpr uint32_t kCounterBits[] = {kAxisStatusFrequencyError, kAxisStatusSignalError};
// System status bits 0..15; bit 7 has no box.
constexpr uint32_t kSystemBits[] = {0x0001, 0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x0040, 0x0100,
                                    0x0200, 0x0400, 0x0800, 0x1000, 0x2000, 0x4000, 0x8000};

struct AxisControls {
    int moveStatus;
    std::array<int, std::size(kMoveStatusBits)> moveBoxes;
    int errorByte;
    std::array<int, std::size(kErrorBits)> errorBoxes;
    int counterStatus; // 0: the axis has no counter status (zoom)
    std::array<int, std::size(kCounterBits)> counterBoxes;
};

constexpr AxisControls kAxisControls[kAxisCount] = {
    {IDC_STATUS_MOVE_X,
     {IDC_STATUS_SW_PLUS_X, IDC_STATUS_SW_MINUS_X, IDC_STATUS_HW_PLUS_X, IDC_STATUS_HW_MINUS_X},
     IDC_STATUS_ERROR_X,
     {IDC_STATUS_FOLLOWING_X, IDC_STATUS_MONITOR_X, IDC_STATUS_OVER_CURRENT_X, IDC_STATUS_ESTOP_X,
      IDC_STATUS_RETRACT_X},
     IDC_STATUS_COUNTER_X,
     {IDC_STATUS_ENC_FREQ_X, IDC_STATUS_ENC_SIGNAL_X}},
    {IDC_STATUS_MOVE_Y,
     {IDC_STATUS_SW_PLUS_Y, IDC_STATUS_SW_MINUS_Y, IDC_STATUS_HW_PLUS_Y, IDC_STATUS_HW_MINUS_Y},
     IDC_STATUS_ERROR_Y,
     {IDC_STATUS_FOLLOWING_Y, IDC_STATUS_MONITOR_Y, IDC_STATUS_OVER_CURRENT_Y, IDC_STATUS_ESTOP_Y,
      IDC_STATUS_RETRACT_Y},
     IDC_STATUS_COUNTER_Y,
     {IDC_STATUS_ENC_FREQ_Y, IDC_STATUS_ENC_SIGNAL_Y}},
    {IDC_STATUS_MOVE_Z,
     {IDC_STATUS_SW_PLUS_Z, IDC_STATUS_SW_MINUS_Z, IDC_STATUS_HW_PLUS_Z, IDC_STATUS_HW_MINUS_Z},
     IDC_STATUS_ERROR_Z,
     {IDC_STATUS_FOLLOWING_Z, IDC_STATUS_MONITOR_Z, IDC_STATUS_OVER_CURRENT_Z, IDC_STATUS_ESTOP_Z,
      IDC_STATUS_RETRACT_Z},
     IDC_STATUS_COUNTER_Z,
     {IDC_STATUS_ENC_FREQ_Z, IDC_STATUS_ENC_SIGNAL_Z}},
    {IDC_STATUS_MOVE_Q,
     {IDC_STATUS_SW_PLUS_Q, IDC_STATUS_SW_MINUS_Q, IDC_STATUS_HW_PLUS_Q, IDC_STATUS_HW_MINUS_Q},
     IDC_STATUS_ERROR_Q,
     {IDC_STATUS_FOLLOWING_Q, IDC_STATUS_MONITOR_Q, IDC_STATUS_OVER_CURRENT_Q, IDC_STATUS_ESTOP_Q,
      IDC_STATUS_RETRACT_Q},
     IDC_STATUS_COUNTER_Q,
     {IDC_STATUS_ENC_FREQ_Q, IDC_STATUS_ENC_SIGNAL_Q}},
    {IDC_STATUS_MOVE_ZOOM,
     {IDC_STATUS_SW_PLUS_ZOOM, IDC_STATUS_SW_MINUS_ZOOM, IDC_STATUS_HW_PLUS_ZOOM, IDC_STATUS_HW_MINUS_ZOOM},
     IDC_STATUS_ERROR_ZOOM,
     {IDC_STATUS_FOLLOWING_ZOOM, IDC_STATUS_MONITOR_ZOOM, IDC_STATUS_OVER_CURRENT_ZOOM, IDC_STATUS_ESTOP_ZOOM,
      IDC_STATUS_RETRACT_ZOOM},
     0,
     {}},
};

constexpr int kSystemBoxes[std::size(kSystemBits)] = {
    IDC_STATUS_SYS_WATCH,      IDC_STATUS_SYS_ESTOP,        IDC_STATUS_SYS_AIR_STOP,
    IDC_STATUS_SYS_JOYSTICK,   IDC_STATUS_SYS_TRACKBALL,    IDC_STATUS_SYS_HEART_BEAT,
    IDC_STATUS_SYS_RAM,        IDC_STATUS_SYS_FLASH_PAR,    IDC_STATUS_SYS_FLASH_USER,
    IDC_STATUS_SYS_FLASH_SYS,  IDC_STATUS_SYS_FLASH_ICMQ,   IDC_STATUS_SYS_FLASH_PAR_B,
    IDC_STATUS_SYS_FLASH_USER_B, IDC_STATUS_SYS_FLASH_SYS_B, IDC_STATUS_SYS_FLASH_ICMQ_B,
};

// Flash status items 240..247, in item order.
constexpr int kFirstFlashItem = 240;
constexpr int kFlashFields[] = {IDC_STATUS_FLASH_240, IDC_STATUS_FLASH_241, IDC_STATUS_FLASH_242,
                                IDC_STATUS_FLASH_243, IDC_STATUS_FLASH_244, IDC_STATUS_FLASH_245,
                                IDC_STATUS_FLASH_246, IDC_STATUS_FLASH_247};

constexpr wchar_t kNoHardwareText[] = L"This button does not do anything with no hardware attached";

// The value of every word as the dialog shows it now; empty until shown.
struct ShownWords {
    std::array<std::optional<uint32_t>, kAxisCount> moveStatus;
    std::array<std::optional<uint32_t>, kAxisCount> errorByte;
    std::array<std::optional<uint32_t>, kAxisCount> axisStatus;
    std::optional<uint32_t> system;
    std::array<std::optional<uint32_t>, std::size(kFlashFields)> flash;
};

ShownWords g_shown;

// True when the word is to be written; it then counts as shown.
bool TakeChange(std::optional<uint32_t>& shown, uint32_t value, bool full)
{
    if (!full && shown == value)
        return false;
    shown = value;
    return true;
}

// Like the texts, a box is only touched when its state changes, so a
// refresh repaints nothing that stayed the same.
void SetCheckIfChanged(HWND wnd, int id, bool on)
{
    if ((IsDlgButtonChecked(wnd, id) == BST_CHECKED) != on)
        CheckDlgButton(wnd, id, on ? BST_CHECKED : BST_UNCHECKED);
}

void ShowHexWord(HWND wnd, int field, uint32_t value, std::span<const uint32_t> bits, std::span<const int> boxes)
{
    wchar_t text[128];
    std::swprintf(text, std::size(text), L"0x%02X", value);
    SetControlTextIfChanged(wnd, field, text);
    for (size_t i = 0; i < bits.size(); ++i)
        SetCheckIfChanged(wnd, boxes[i], (value & bits[i]) != 0);
}

void RefreshAxis(HWND wnd, int axis, bool full)
{
    uint8_t moveStatus = 0;
    uint8_t errorByte = 0;
    if (AXB_GetMoveStatus(0, axis, &moveStatus, &errorByte) != 1)
        return;
    const AxisControls& c = kAxisControls[axis];
    if (TakeChange(g_shown.moveStatus[axis], moveStatus, full))
        ShowHexWord(wnd, c.moveStatus, moveStatus, kMoveStatusBits, c.moveBoxes);
    if (TakeChange(g_shown.errorByte[axis], errorByte, full))
        ShowHexWord(wnd, c.errorByte, errorByte, kErrorBits, c.errorBoxes);
    if (c.counterStatus == 0)
        return;
    uint16_t axisStatus = 0;
    AXB_GetAxisStatus(0, axis, &axisStatus);
    if (TakeChange(g_shown.axisStatus[axis], axisStatus, full))
        ShowHexWord(wnd, c.counterStatus, axisStatus, kCounterBits, c.counterBoxes);
}

void RefreshSystem(HWND wnd, bool full)
{
    uint32_t status = 0;
    AXB_GetSystemStatus(0, &status);
    if (TakeChange(g_shown.system, status, full))
        ShowHexWord(wnd, IDC_STATUS_SYSTEM, status, kSystemBits, kSystemBoxes);
}

void RefreshFlash(HWND wnd, bool full)
{
    for (size_t i = 0; i < std::size(kFlashFields); ++i) {
        uint32_t value = 0;
        AXB_GetFlashStatus(0, kFirstFlashItem + static_cast<int>(i), &value);
        if (!TakeChange(g_shown.flash[i], value, full))
            continue;
        wchar_t text[128];
        std::swprintf(text, std::size(text), L"%d", static_cast<int>(value));
        SetControlTextIfChanged(wnd, kFlashFields[i], text);
    }
}

void OnClearEncoderErrors(HWND)
{
    for (int axis = 0; axis < kAxisCount; ++axis)
        AXB_ResetAxisError(0, axis, 0);
    AXB_ClearEncoderErrors(0, kEncoderAxesMask);
}

void OnPowerStatus(HWND)
{
    // An open Power dialog is brought to the top even without a board.
    if (g_powerDlg || g_boardPresent)
        OpenPowerDialog();
    else
        ShowMessageBox(g_mainWnd, kNoHardwareText, L"Power", MB_OK);
}

void OnExit(HWND wnd) { CloseModeless(g_statusDlg, wnd); }

} // namespace

void RefreshStatus(HWND dialog, bool full)
{
    for (int axis = 0; axis < kAxisCount; ++axis)
        RefreshAxis(dialog, axis, full);
    RefreshSystem(dialog, full);
    RefreshFlash(dialog, full);
}

namespace {

void OnInit(HWND wnd)
{
    g_shown = ShownWords{};
    if (g_boardPresent)
        RefreshStatus(wnd, true);
    StartTimer(wnd, IDT_TICK, kRefreshMs);
}

void OnTick(HWND wnd)
{
    if (g_boardPresent)
        RefreshStatus(wnd, false);
}

constexpr CommandRoute kRoutes[] = {
    {IDC_STATUS_CLEAR_ENCODER, WindowHandler<OnClearEncoderErrors>},
    {IDC_STATUS_POWER, WindowHandler<OnPowerStatus>},
    {IDC_STATUS_EXIT, WindowHandler<OnExit>},
};
constexpr DialogBehaviour kBehaviour = {.init = OnInit, .routes = kRoutes, .tick = OnTick, .modeless = &g_statusDlg};

} // namespace

INT_PTR CALLBACK StatusDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

HWND OpenStatusDialog() { return OpenModeless(g_statusDlg, IDD_STATUS, StatusDlgProc); }

void ResetStatusDialog() { DestroyModeless(g_statusDlg); }
