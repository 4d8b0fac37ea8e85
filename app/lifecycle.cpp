#include "app/lifecycle.h"

#include "app/flash_line.h"
#include "app/main_timer.h"
#include "app/main_window.h"
#include "app/motion_commands.h"
#include "app/param_fields.h"
#include "board/board_connection.h"
#include "board/flash_baseline.h"
#include "board/flash_store.h"
#include "board/forced_params.h"
#include "board/param_io.h"
#include "compare/compare_window.h"
#include "core/external_outputs.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/version_text.h"
#include "driver/axb400.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "infra/settings.h"
#include "lamp/lamp_box.h"
#include "params/goto_settings.h"
#include "res/resource.h"
#include "ui/dialog.h"
#include "ui/main_window_handle.h"
#include "ui/tooltips.h"

#include <cstdio>
#include <optional>

namespace {

constexpr uint32_t kResetSettleMs = 500;
constexpr int kLatchedAxes = 4;   // X..Q latch their position in latch 0
constexpr uint32_t kStartupValue = 10;

// Controls enabled at the end of every initialisation, board or not.
constexpr int kMainEnableList[] = {
    IDC_PARAM_P, IDC_PARAM_D, IDC_PARAM_I, IDC_PARAM_I_LIMIT, IDC_PARAM_PWM_BASE, IDC_PARAM_CONT_ZONE,
    IDC_PARAM_CUTOFF_DELAY, IDC_PARAM_TARGET_WINDOW, IDC_PARAM_VEL, IDC_PARAM_ACC, IDC_PARAM_JERK,
    IDC_PARAM_MOTION_MONITOR, IDC_PARAM_FOLLOW_LIMIT, IDC_PARAM_PV_NOMINAL, IDC_PARAM_PWM_OFFSET,
    IDC_PARAM_TORQUE, IDC_PARAM_MOTOR_LAG, IDC_PARAM_HOLD_TORQUE, IDC_PARAM_JOY_VEL, IDC_PARAM_TRACKBALL_VEL,
    IDC_PARAM_ACC_DELTA, IDC_PARAM_D_LIMIT,
    IDC_CONT_GOTO, IDC_HOME, IDC_GOTO, IDC_CONT_HOME, IDC_STOP, IDC_ZERO_X, IDC_ZERO_Y, IDC_ZERO_Z, IDC_ZERO_Q,
    IDC_ZERO_ZOOM, IDC_RESET, IDC_LOAD_FILE, IDC_SAVE_FILE, IDC_SAVE_FLASH, IDC_CLEAR_COUNT, IDC_AUTO_HOME,
    IDC_MULTI_AXIS_GOTO, IDC_APPLY, IDC_VEL_PERCENT, IDC_TARGET, IDC_DEL_NEW_FLASH, IDC_COPY_SETTINGS,
};

constexpr int kTesterButtons[] = {IDC_SW_FENCE, IDC_REREAD, IDC_COPY_SETTINGS};

void SetWindowIcon(HWND wnd)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto big = LoadImageW(instance, MAKEINTRESOURCEW(IDI_STAGETUNE), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                          GetSystemMetrics(SM_CYICON), 0);
    auto small = LoadImageW(instance, MAKEINTRESOURCEW(IDI_STAGETUNE), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                            GetSystemMetrics(SM_CYSMICON), 0);
    SendMessageW(wnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(wnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}


void ReadStartupSettings()
{
    g_zoomType = GetSettingInt(L"stagetune", L"ZoomType", L"0") & 0xFF;
    g_testerMode = GetSettingInt(L"stagetune", L"TavRosenTester", L"0") & 0xFF;
}

void EnterTesterMode(HWND wnd)
{
    g_log.Write("KRV_TEST is 1\n");
    for (int id : kTesterButtons)
        ShowWindow(GetDlgItem(wnd, id), SW_SHOW);
    g_log.Write("stagetune compile date:");
    g_log.Write(kBuildDate);
    g_log.Write("\n");
    g_log.Write("stagetune compile time:");
    g_log.Write(kBuildTime);
    g_log.Write("\n");
    g_log.Write("ApplicationVersion:");
    g_log.Write(kProgramVersion);
    g_log.Write("\n");
    g_log.Write("ApplicationDate:");
    g_log.Write(kProgramDate);
    g_log.Write("\n");
}

void CheckUnitRadio(HWND wnd)
{
    g_unitMode = ReadUnitType();
    switch (g_unitMode) {
    case kUnitStored: CheckDlgButton(wnd, IDC_UNIT_STORED, BST_CHECKED); break;
    case kUnitInch: CheckDlgButton(wnd, IDC_UNIT_IN, BST_CHECKED); break;
    case kUnitMm: CheckDlgButton(wnd, IDC_UNIT_MM, BST_CHECKED); break;
    default: break;   // an unknown mode leaves all three unchecked
    }
}

void ShowVersions(HWND wnd, const ConnectedBoard& board)
{
    char text[128];
    const BoardVersions& v = board.versions;
    FormatFirmwareVersion(text, sizeof text, v.firmware, false);
    SetDlgItemTextA(wnd, IDC_VER_FIRMWARE, text);
    FormatHardwareVersion(text, sizeof text, v.hardware, false);
    SetDlgItemTextA(wnd, IDC_VER_HARDWARE, text);
    FormatFpgaVersion(text, sizeof text, v.fpga, false);
    SetDlgItemTextA(wnd, IDC_VER_FPGA, text);
    FormatSerialNumber(text, sizeof text, v.serialNumber, false);
    SetDlgItemTextA(wnd, IDC_VER_SERIAL, text);
    FormatDllVersion(text, sizeof text, v.dll, false);
    SetDlgItemTextA(wnd, IDC_VER_DLL, text);
    FormatOeVersion(text, sizeof text, board.oe, false);
    SetDlgItemTextA(wnd, IDC_VER_OE, text);
}

void RefreshFlashLine()
{
    if (g_mainWnd)
        ShowFlashLine(g_mainWnd);
    RefreshCompareWindow();
}

// The steps that need an open board.
void InitBoard(HWND wnd, const ConnectedBoard& board)
{
    g_boardPresent = 1;
    ReadAllParamsFromBoard();
    CheckFlash();
    RecomputeScales();
    LoadZoomIniSettings();
    FillParamFields(wnd);
    ApplyForcedParams(GetSettingInt(L"stagetune", L"DontKillLamps", L"1") != 0);
    TakeConnectBaseline(board.versions);
    for (int a = 0; a < kLatchedAxes; ++a)
        AXB_SetLatchMode(0, a, 0, 1);
    uint32_t startupWord = 0;
    AXB_ReadStartupWord(0, &startupWord);
    AXB_SetStartupValue(0, kStartupValue);
    AddToolTip(IDC_PARAM_TORQUE, wnd, L"Use Calc To get close");
    for (int id : {IDC_PARAM_JOY_VEL, IDC_PARAM_TRACKBALL_VEL, IDC_PARAM_ACC_DELTA})
        AddToolTip(id, wnd, L"Calc screen must be correct to display these values correctly");
    AXB_SetExternIO(0, g_externalOutput, g_lampMask);
}

} // namespace

void InitMainWindow(HWND wnd)
{
    SetWindowIcon(wnd);
    ShowBoardAnswering(wnd, true);
    ReadStartupSettings();
    if (g_testerMode != 0)
        EnterTesterMode(wnd);
    // Every initialisation, Reset included, starts on X: the fields, the
    // checked radio and the axis that Apply and Goto write must agree.
    g_radio_last = 0;
    SyncAxisRadios(wnd);
    CheckUnitRadio(wnd);

    g_boardPresent = 0;
    if (const std::optional<ConnectedBoard> board = ConnectBoard()) {
        ShowVersions(wnd, *board);
        InitBoard(wnd, *board);
    } else {
        // Without a board there is nothing to save, nor anything to lose.
        ResetFlashBaseline();
    }

    for (int id : kMainEnableList)
        EnableWindow(GetDlgItem(wnd, id), TRUE);
    ForgetShownReadouts();
    ShowWindow(GetDlgItem(wnd, IDC_GPIO), SW_SHOW);
    NameParamFieldsForDiffs();
    SetAfterCommand(RefreshFlashLine);
    ShowFlashLine(wnd);
    StartTimer(wnd, IDT_TICK, kMainTimerPeriodMs);
}

void ShowBoardAnswering(HWND wnd, bool answering)
{
    char title[128];
    std::snprintf(title, sizeof title, "stagetune:%s %s%s", kProgramVersion, kProgramDate,
                  answering ? "" : " - the board does not answer");
    SetWindowTextA(wnd, title);
}

void OnResetButton(HWND wnd)
{
    if (!MayLoseUnsavedChanges(wnd))
        return;
    AXB_ResetBoard(0);
    MotionFlagsOff();
    SaveZoomIniSettings();
    SwitchLampBoxOff();
    StopTimer(wnd, IDT_TICK);
    CloseBoardDriver();
    SleepMs(kResetSettleMs);
    PostMessageW(wnd, WM_INITDIALOG, 0, 0);
}

void OnExitCommand(HWND wnd)
{
    // Enter in a field arrives as the default button's command: it moves on
    // to the next control instead of closing the window.
    if (GetFocus() != GetDlgItem(wnd, IDC_EXIT)) {
        SendMessageW(wnd, WM_NEXTDLGCTL, 0, FALSE);
        return;
    }
    if (!MayLoseUnsavedChanges(wnd))
        return;
    MotionFlagsOff();
    g_mainWnd = nullptr;
    SaveZoomIniSettings();
    CloseBoardDriver();
    SwitchLampBoxOff();
    StopTimer(wnd, IDT_TICK);
    PostQuitMessage(0);
    EndDialog(wnd, 0);
}

void OnMainClose(HWND wnd)
{
    if (!MayLoseUnsavedChanges(wnd))
        return;
    StopTimer(wnd, IDT_TICK);
    CloseBoardDriver();
    PostQuitMessage(0);
    CloseVideoProcess();
    EndDialog(wnd, 0);
    SwitchLampBoxOff();
    g_mainWnd = nullptr;
}

void OnMainDestroy(HWND wnd)
{
    SwitchLampBoxOff();
    CloseBoardDriver();
    PostQuitMessage(0);
    EndDialog(wnd, 0);
    g_mainWnd = nullptr;
}
