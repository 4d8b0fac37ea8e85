#include "app/main_window.h"

#include "app/flash_line.h"
#include "app/lifecycle.h"
#include "app/main_commands.h"
#include "app/home_commands.h"
#include "app/main_timer.h"
#include "app/motion_commands.h"
#include "app/param_fields.h"
#include "app/persistence_buttons.h"
#include "app/setup_buttons.h"
#include "core/motion_state.h"
#include "core/session_state.h"
#include "gpio/gpio_dialog.h"
#include "lamp/lamp_dialog.h"
#include "motion/circular_goto.h"
#include "motion/multi_axis_goto.h"
#include "homing/auto_home.h"
#include "infra/clock.h"
#include "joystick/joystick_dialog.h"
#include "report/service_report.h"
#include "res/resource.h"
#include "scope/scope_window.h"
#include "scope/response_window.h"
#include "status/status_dialog.h"
#include "ui/dialog.h"
#include "zoom/zoom.h"
#include "zoom/zoom_dialog.h"

namespace {

void OnStatusButton(HWND) { OpenStatusDialog(); }
void OnMultiAxisGotoButton(HWND)
{
    MotionAndZoomFlagsOff();
    OpenMultiAxisGoto();
}
void OnCircularGotoButton(HWND) { OpenCircularGoto(); }
void OnScopeButton(HWND) { OpenScopeWindow(); }
void OnResponseButton(HWND) { OpenResponseWindow(); }

void OnLampButton(HWND)
{
    MotionAndZoomFlagsOff();
    OpenLampDialog();
}
void OnZoomButton(HWND) { OpenZoomDialog(); }
void OnGpioButton(HWND) { OpenGpioDialog(); }
void OnServiceReportButton(HWND wnd) { SaveServiceReportChosenByUser(wnd, {kProgramVersion, kBuildDate, kBuildTime}); }
// The main timer waits while the dialog reads the board to fill itself.
void OnJoystickButton(HWND wnd)
{
    MotionAndZoomFlagsOff();
    StopTimer(wnd, IDT_TICK);
    OpenJoystickDialog();
    StartTimer(wnd, IDT_TICK, kMainTimerPeriodMs);
}

constexpr CommandRoute kCommandRoutes[] = {
    {IDC_EXIT, WindowHandler<OnExitCommand>},
    {IDC_RESET, WindowHandler<OnResetButton>},
    {IDC_REREAD, WindowHandler<OnReReadButton>},
    {IDC_APPLY, WindowHandler<OnApplyButton>},
    {IDM_READ_SPEED_TEST, WindowHandler<OnReadSpeedTest>},
    {IDC_UNIT_MM, WindowHandler<OnUnitCommand>},
    {IDC_UNIT_IN, WindowHandler<OnUnitCommand>},
    {IDC_UNIT_STORED, WindowHandler<OnUnitCommand>},
    {IDC_ZERO_X, OnZeroButton},
    {IDC_ZERO_Y, OnZeroButton},
    {IDC_ZERO_Z, OnZeroButton},
    {IDC_ZERO_Q, OnZeroButton},
    {IDC_ZERO_ZOOM, OnZeroButton},
    {IDC_GOTO, WindowHandler<OnGotoButton>},
    {IDC_CONT_GOTO, WindowHandler<OnContinuousGotoButton>},
    {IDC_STOP, WindowHandler<OnStopButton>},
    {IDC_CLEAR_COUNT, WindowHandler<OnClearCountButton>},
    {IDC_VIDEO, WindowHandler<OnVideoButton>},
    {IDC_SAVE_FLASH, WindowHandler<OnSaveToFlashButton>},
    {IDC_DEL_NEW_FLASH, WindowHandler<OnDelNewFlashButton>},
    {IDC_SAVE_FILE, WindowHandler<OnSaveToFileButton>},
    {IDC_LOAD_FILE, WindowHandler<OnLoadFromFileButton>},
    {IDC_STATUS, WindowHandler<OnStatusButton>},
    {IDC_MOTOR, WindowHandler<OnMotorButton>},
    {IDC_CALC, WindowHandler<OnCalcButton>},
    {IDC_SYSTEM, WindowHandler<OnSystemButton>},
    {IDC_COPY_SETTINGS, WindowHandler<OnCopySettingsButton>},
    {IDC_TRACKBALL, WindowHandler<OnTrackballButton>},
    {IDC_SW_FENCE, WindowHandler<OnSwFenceButton>},
    {IDC_LAMP, WindowHandler<OnLampButton>},
    {IDC_GPIO, WindowHandler<OnGpioButton>},
    {IDC_MULTI_AXIS_GOTO, WindowHandler<OnMultiAxisGotoButton>},
    {IDC_CIRCULAR_GOTO, WindowHandler<OnCircularGotoButton>},
    {IDC_HOME, WindowHandler<OnHomeButton>},
    {IDC_CONT_HOME, WindowHandler<OnContinuousHomeButton>},
    {IDC_ZOOM, WindowHandler<OnZoomButton>},
    {IDC_AUTO_HOME, WindowHandler<OnAutoHomeButton>},
    {IDC_USER_PARAM, WindowHandler<OnUserParamButton>},
    {IDC_ENCODER, WindowHandler<OnEncoderButton>},
    {IDC_TOUCH_PROBE, WindowHandler<OnTouchProbeButton>},
    {IDC_DISPLAY_PARAM_NUMBER, WindowHandler<OnDisplayParamNumber>},
    {IDC_JOYSTICK, WindowHandler<OnJoystickButton>},
    {IDC_SCOPE, WindowHandler<OnScopeButton>},
    {IDC_SERVICE_REPORT, WindowHandler<OnServiceReportButton>},
    {IDC_FLASH_STATE, WindowHandler<OnFlashLineClicked>},
    {IDC_COMPARE, WindowHandler<OnCompareButton>},
    {IDC_RESPONSE, WindowHandler<OnResponseButton>},
};

// Escape does not close the main window; its close box ends the program.
constexpr DialogBehaviour kBehaviour = {
    .init = InitMainWindow,
    .routes = kCommandRoutes,
    .axisRadio = OnAxisRadio,
    .tick = OnMainTimer,
    .close = OnMainClose,
    .destroyed = OnMainDestroy,
    .staticColour = FlashLineColour,
    .escapeCloses = false,
};

} // namespace

INT_PTR CALLBACK MainDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

HWND CreateMainWindow(HINSTANCE instance)
{
    HWND wnd = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDlgProc, 0);
    g_mainWnd = wnd;
    if (wnd) {
        UpdateWindow(wnd);
        ShowWindow(wnd, SW_SHOWNORMAL);
    }
    return wnd;
}
