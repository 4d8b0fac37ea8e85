#include "joystick/joystick_live.h"

#include "board/board_lock.h"
#include "core/external_outputs.h"
#include "core/joystick_word.h"
#include "core/session_state.h"
#include "driver/axb400.h"
#include "infra/log.h"
#include "joystick/joystick_settings.h"
#include "res/resource.h"
#include "ui/control_text.h"
#include "ui/fields.h"
#include "zoom/zoom.h"

#include <cstdio>

namespace {

constexpr uint8_t kOutput5 = 0x20;
constexpr int kIndicators[kJoystickButtons] = {IDC_JOY_INDICATOR_1, IDC_JOY_INDICATOR_2, IDC_JOY_INDICATOR_3,
                                               IDC_JOY_INDICATOR_4, IDC_JOY_INDICATOR_5};
// A three-button joystick reports its buttons' software functions in the
// state bits above the buttons.
constexpr int kFunctionBoxes[] = {IDC_JOY_BUTTON_FUNCTION_1, IDC_JOY_BUTTON_FUNCTION_2, IDC_JOY_BUTTON_FUNCTION_3};
constexpr int kThreeButtons = 3;
constexpr int kVelocityFields[kCalibratedJoystickAxes] = {IDC_JOY_VELOCITY_X, IDC_JOY_VELOCITY_Y, IDC_JOY_VELOCITY_Z};
constexpr int kAdcFields[kCalibratedJoystickAxes] = {IDC_JOY_ADC_X, IDC_JOY_ADC_Y, IDC_JOY_ADC_Z};

HBITMAP g_released;
HBITMAP g_pressed;
// What each indicator and function box shows: -1 nothing yet.
int g_shownIndicators[kJoystickButtons];
int g_shownFunctionBoxes[kThreeButtons];
ShownTexts g_shownTexts;

HBITMAP LoadIndicator(int id)
{
    const HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    if (!bitmap) {
        g_log.Write("Failed to load bitmap");
        g_log.Write("zoom");
        g_log.Write(":");
        LogPrintf(g_log, "%d\n", 7931);
    }
    return bitmap;
}

void ShowIndicator(HWND wnd, int button, bool pressed)
{
    if (g_shownIndicators[button] == static_cast<int>(pressed))
        return;
    g_shownIndicators[button] = pressed;
    SendDlgItemMessageW(wnd, kIndicators[button], STM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(pressed ? g_pressed : g_released));
}

void ShowFunctionBox(HWND wnd, int box, bool active)
{
    if (g_shownFunctionBoxes[box] == static_cast<int>(active))
        return;
    g_shownFunctionBoxes[box] = active;
    CheckBox(wnd, kFunctionBoxes[box], active);
}

void ShowButtons(HWND wnd, uint8_t state)
{
    if (g_firmwareVersion >= kJoystickFiveButtonFirmware && (state & kJoystickFiveButtonBit)) {
        for (int b = 0; b < kJoystickButtons; ++b)
            ShowIndicator(wnd, b, state & (1u << b));
        return;
    }
    for (int b = 0; b < kThreeButtons; ++b) {
        ShowIndicator(wnd, b, state & (1u << b));
        ShowFunctionBox(wnd, b, state & (1u << (b + kThreeButtons)));
    }
}

void ShowReading(HWND wnd, int id, const char* format, int value)
{
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    g_shownTexts.Set(wnd, id, text);
}

// The box is the output's owner while the dialog is open.
void DriveOutput5(HWND wnd)
{
    const bool wanted = IsBoxChecked(wnd, IDC_JOY_OUTPUT_5);
    if (wanted == ((g_externalOutput & kOutput5) != 0))
        return;
    g_externalOutput = static_cast<uint8_t>(wanted ? g_externalOutput | kOutput5 : g_externalOutput & ~kOutput5);
    AXB_SetExternIO(0, g_externalOutput, g_lampMask);
    LogPrintf(g_log, "Setting output %s SetExternIO:%u,&0x20,%u\n", wanted ? "high" : "low", g_externalOutput,
              g_externalOutput & kOutput5);
}

// The board's part of the tick; the joystick state read.
uint8_t ReadBoard(HWND wnd)
{
    for (int axis = 0; axis < kCalibratedJoystickAxes; ++axis) {
        uint16_t reading = 0;
        AXB_ReadAdc(0, kJoystickFirstAdcChannel + axis, &reading);
        ShowReading(wnd, kAdcFields[axis], "%u", reading);
        int8_t velocity = 0;
        AXB_GetJoystickVelocity(0, axis, &velocity);
        ShowReading(wnd, kVelocityFields[axis], "%d", velocity);
    }
    uint32_t mode = 0;
    uint8_t functions = 0, state = 0;
    if (g_firmwareVersion >= kJoystickFunctionFirmware)
        AXB_GetJoyStickMode(0, &mode, &functions, &state);
    else
        AXB_GetJoystickButtons(0, &mode, &functions, &state);
    DriveOutput5(wnd);
    return state;
}

} // namespace

void LoadJoystickIndicators(HWND wnd)
{
    g_released = LoadIndicator(IDB_JOY_RELEASED);
    g_pressed = LoadIndicator(IDB_JOY_PRESSED);
    g_shownTexts.Forget();
    for (int& shown : g_shownIndicators)
        shown = -1;
    for (int& shown : g_shownFunctionBoxes)
        shown = -1;
    for (int b = 0; b < kJoystickButtons; ++b)
        ShowIndicator(wnd, b, false);
}

void ReleaseJoystickIndicators()
{
    for (HBITMAP* bitmap : {&g_released, &g_pressed}) {
        if (*bitmap)
            DeleteObject(*bitmap);
        *bitmap = nullptr;
    }
}

void JoystickLiveTick(HWND wnd)
{
    if (!g_boardPresent)
        return;
    bool read = false;
    uint8_t state = 0;
    if (BoardLockGuard lock; lock) {
        state = ReadBoard(wnd);
        read = true;
    } else {
        g_log.Write("failed to get lock ");
        g_log.Write("JoystickDialogProc");
        g_log.Write("\n");
    }
    if (read)
        ShowButtons(wnd, state);
    ZoomTimer();
    g_shownTexts.WriteDue(wnd);
}
