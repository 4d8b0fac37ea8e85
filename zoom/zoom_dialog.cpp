#include "zoom/zoom_dialog.h"

#include "board/axis_position.h"
#include "board/board_lock.h"
#include "board/board_ready.h"
#include "core/axes.h"
#include "core/flash_items.h"
#include "core/number_text.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "driver/axb400.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "res/resource.h"
#include "ui/control_text.h"
#include "ui/dialog.h"
#include "ui/fields.h"
#include "ui/modeless.h"
#include "zoom/turrets/turrets.h"
#include "zoom/zoom.h"

#include <cstdio>
#include <cwchar>
#include <iterator>

HWND g_zoomDlg;

namespace {

constexpr UINT kTickMs = 10;
// From this firmware on the board takes the second home velocity down to
// 0.1 % instead of 2 %.
constexpr uint32_t kFineHomePercentFirmware = 0x02060703;

struct PositionButton {
    int id;
    int8_t position;
};
constexpr PositionButton kPositionButtons[] = {
    {IDC_ZOOM_GOTO_1, 1}, {IDC_ZOOM_GOTO_2, 2}, {IDC_ZOOM_GOTO_3, 3}, {IDC_ZOOM_GOTO_4, 4},
    {IDC_ZOOM_GOTO_5, 5}, {IDC_ZOOM_GOTO_6, 6}, {IDC_ZOOM_GOTO_7, 7}, {IDC_ZOOM_GOTO_8, 8},
    {IDC_ZOOM_GOTO_9, 9}, {IDC_ZOOM_GOTO_10, 10},
};

struct PositionField {
    int id;
    int index;   // into krv_user_box_data.zoomPos
};
constexpr PositionField kPositionFields[] = {
    {IDC_ZOOM_POS_1, 0}, {IDC_ZOOM_POS_2, 1}, {IDC_ZOOM_POS_3, 2}, {IDC_ZOOM_POS_4, 3}, {IDC_ZOOM_POS_5, 4},
    {IDC_ZOOM_POS_6, 5}, {IDC_ZOOM_POS_7, 6}, {IDC_ZOOM_POS_8, 7}, {IDC_ZOOM_POS_9, 8}, {IDC_ZOOM_POS_10, 9},
};

struct HomeType {
    const wchar_t* text;
    uint32_t code;   // P233
};
constexpr HomeType kHomeTypes[] = {
    {L"Negative Limit", 3},
    {L"Negative Hard Stop", 7},
    {L"Positive Hard Stop", 8},
};

bool g_zoomDialogActive;
uint32_t g_zoomDialogTicks;
ShownTexts g_shownTexts;

bool BoardLoadedOrForgetFirmware()
{
    if (IsAXBBoardLoaded(true))
        return true;
    g_firmwareVersion = 0;
    return false;
}

void SetText(HWND wnd, int id, const char* format, double value)
{
    char text[128];
    std::snprintf(text, sizeof text, format, value);
    SetControlTextIfChanged(wnd, id, text);
}

void ShowStoredPositions(HWND wnd)
{
    for (const PositionField& field : kPositionFields)
        SetText(wnd, field.id, "%g", krv_user_box_data.zoomPos[field.index]);
}

void ShowP235(HWND wnd, uint32_t value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%u", value);
    SetControlTextIfChanged(wnd, IDC_ZOOM_P235, text);
}

void ShowHomePercent(HWND wnd)
{
    uint32_t stored = 0;
    AXB_GetParam(0, kParamZoomHomePercent, &stored);
    char text[32];
    std::snprintf(text, sizeof text, "%d", static_cast<int32_t>(stored));
    SetControlTextIfChanged(wnd, IDC_ZOOM_P235, text);
    const int32_t v = static_cast<int32_t>(stored);
    const bool fine = BoardLoadedOrForgetFirmware() && g_firmwareVersion >= kFineHomePercentFirmware;
    const double percent = fine ? (v < 10 ? 0.1 : v / 100.0) : (v < 200 ? 10.0 : v / 100.0);
    SetText(wnd, IDC_ZOOM_HOME_PERCENT, "%g", percent);
    if (fine)
        SetControlTextIfChanged(wnd, IDC_ZOOM_PERCENT_RANGE, ".1 to 100.0");
}

void EnableZoomControls(HWND wnd)
{
    for (const PositionButton& button : kPositionButtons)
        EnableWindow(GetDlgItem(wnd, button.id), TRUE);
    for (int id : {IDC_ZOOM_HOME, IDC_ZOOM_RESET_STATE, IDC_ZOOM_LOG_STATES})
        EnableWindow(GetDlgItem(wnd, id), TRUE);
}

void FillHomeTypes(HWND wnd)
{
    HWND combo = GetDlgItem(wnd, IDC_ZOOM_HOME_TYPE);
    for (const HomeType& type : kHomeTypes) {
        g_log.Write("Trying to add :");
        g_log.Write(type.text);
        g_log.Write(" to control\n");
        LogPrintf(g_log, "Should not be zero:%p\n", static_cast<void*>(combo));
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(type.text));
    }
    for (int i = 0; i < static_cast<int>(std::size(kHomeTypes)); ++i) {
        if (kHomeTypes[i].code != g_param[kParamZoomHomeType])
            continue;
        LogPrintf(g_log, "CB_SETCURSEL%d\n", i);
        SendMessageW(combo, CB_SETCURSEL, i, 0);
        return;
    }
}

void OnZoomDialogInit(HWND wnd)
{
    g_shownTexts.Forget();
    ShowStoredPositions(wnd);
    ShowHomePercent(wnd);
    StartTimer(wnd, IDT_TICK, kTickMs);
    CheckBox(wnd, IDC_ZOOM_LOG_STATES, g_zoomLogLevel > 0);
    EnableZoomControls(wnd);
    FillHomeTypes(wnd);
}

void ShowZoomAxis(HWND wnd)
{
    uint8_t moveStatus = 0, errorByte = 0;
    AXB_GetMoveStatus(0, kZoomAxis, &moveStatus, &errorByte);
    char text[128];
    std::snprintf(text, sizeof text, "%02X", moveStatus);
    g_shownTexts.Set(wnd, IDC_ZOOM_AXIS_STATUS, text);
    std::snprintf(text, sizeof text, "%02X", errorByte);
    g_shownTexts.Set(wnd, IDC_ZOOM_ERROR, text);

    int32_t raw = 0;
    AXB_GetAxisPosValue(0, kZoomAxis, &raw);
    const float resolution = g_resolution[kZoomAxis];
    std::snprintf(text, sizeof text, "%.4f", static_cast<double>(UserPosition(kZoomAxis, raw) * resolution));
    g_shownTexts.Set(wnd, IDC_ZOOM_POSITION, text);
    int32_t lag = 0;
    AXB_GetFollowingError(0, kZoomAxis, &lag);
    std::snprintf(text, sizeof text, "%.4f", static_cast<double>(lag * resolution));
    g_shownTexts.Set(wnd, IDC_ZOOM_FOLLOWING, text);

    std::snprintf(text, sizeof text, "%u", g_zoomDialogTicks++);
    g_shownTexts.Set(wnd, IDC_ZOOM_TICKS, text);
}

void OnZoomDialogTimer(HWND wnd)
{
    ZoomTimer();
    if (!g_boardPresent)
        return;
    BoardLockGuard lock;
    if (lock)
        ShowZoomAxis(wnd);
}

void OnPositionButton(HWND, int id)
{
    for (const PositionButton& button : kPositionButtons)
        if (button.id == id)
            ZoomGoto(button.position);
}

// "HOME" and the key "0": a turret goes to its first position.
void OnHome(HWND)
{
    if (IsTurret(g_zoomType))
        ZoomGoto(1);
    else
        StartZoomHome();
}

void OnResetStateMachine(HWND)
{
    g_zoomHomed = true;
    g_zoomState = kZoomInactive;
}

void OnLogZoomStates(HWND wnd)
{
    if (IsBoxChecked(wnd, IDC_ZOOM_LOG_STATES)) {
        LogPrintf(g_log, "g_zoom_state=%d\n", g_zoomState);
        g_zoomLogLevel = 1;
    } else {
        g_zoomLogLevel = 0;
    }
}

void OnApplyPercent(HWND wnd)
{
    // Anything but one number leaves P235 as it is.
    const std::optional<float> percent = WholeFloat(FieldText(wnd, IDC_ZOOM_HOME_PERCENT));
    if (!percent)
        return;
    const int32_t board = ZoomPercentToBoard(*percent);
    LogPrintf(g_log, "IDD_BUTTON_APPLY_PERCENT:%.12g,%d\n", static_cast<double>(*percent), board);
    g_param[kParamZoomHomePercent] = static_cast<uint32_t>(board);
    ShowP235(wnd, g_param[kParamZoomHomePercent]);
}

void OnOk(HWND wnd)
{
    // With no home type selected there is no code to store: P233 stays.
    const int selected = ListSelection(wnd, IDC_ZOOM_HOME_TYPE);
    if (selected >= 0 && selected < static_cast<int>(std::size(kHomeTypes)))
        g_param[kParamZoomHomeType] = kHomeTypes[selected].code;
    CloseModeless(g_zoomDlg, wnd);
}

constexpr CommandRoute kZoomRoutes[] = {
    {IDC_ZOOM_GOTO_1, OnPositionButton},
    {IDC_ZOOM_GOTO_2, OnPositionButton},
    {IDC_ZOOM_GOTO_3, OnPositionButton},
    {IDC_ZOOM_GOTO_4, OnPositionButton},
    {IDC_ZOOM_GOTO_5, OnPositionButton},
    {IDC_ZOOM_GOTO_6, OnPositionButton},
    {IDC_ZOOM_GOTO_7, OnPositionButton},
    {IDC_ZOOM_GOTO_8, OnPositionButton},
    {IDC_ZOOM_GOTO_9, OnPositionButton},
    {IDC_ZOOM_GOTO_10, OnPositionButton},
    {IDC_ZOOM_HOME, WindowHandler<OnHome>},
    {IDC_ZOOM_RESET_STATE, WindowHandler<OnResetStateMachine>},
    {IDC_ZOOM_LOG_STATES, WindowHandler<OnLogZoomStates>},
    {IDC_ZOOM_APPLY, WindowHandler<OnApplyPercent>},
    {IDC_ZOOM_OK, WindowHandler<OnOk>},
};

void OnActivated(HWND, bool active) { g_zoomDialogActive = active; }

void OnDestroyed(HWND) { g_zoomDialogActive = false; }

constexpr DialogBehaviour kBehaviour = {.init = OnZoomDialogInit,
                                        .routes = kZoomRoutes,
                                        .tick = OnZoomDialogTimer,
                                        .destroyed = OnDestroyed,
                                        .activated = OnActivated,
                                        .modeless = &g_zoomDlg};

// A field the technician can type into; the read-only fields take no text,
// so a digit key there is the zoom's.
bool IsEditableField(HWND control)
{
    wchar_t className[16] = L"";
    GetClassNameW(control, className, static_cast<int>(std::size(className)));
    return _wcsicmp(className, L"Edit") == 0 && (GetWindowLongW(control, GWL_STYLE) & ES_READONLY) == 0;
}

} // namespace

int32_t ZoomPercentToBoard(float percent)
{
    constexpr int32_t kCoarseMinimum = 200;   // 2 %
    constexpr int32_t kFineMinimum = 10;      // 0.1 %
    if (!BoardLoadedOrForgetFirmware()) {
        if (percent <= 2.0f)
            return kCoarseMinimum;
    } else if (g_firmwareVersion >= kFineHomePercentFirmware) {
        if (percent <= 0.1f)
            return kFineMinimum;
    } else if (percent <= 2.0f) {
        return kCoarseMinimum;
    }
    return Nearest(static_cast<double>(percent) * 100.0);
}

bool ForwardZoomDialogKey(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || !g_zoomDlg || !g_zoomDialogActive)
        return false;
    if (msg.hwnd != g_zoomDlg && !IsChild(g_zoomDlg, msg.hwnd))
        return false;
    LogPrintf(g_log, "Keydown wParam %02X\n", static_cast<unsigned>(msg.wParam));
    // A number typed into the velocity field is text, not a command.
    if (msg.wParam < '0' || msg.wParam > '9' || IsEditableField(msg.hwnd))
        return false;
    if (msg.wParam == '0')
        OnHome(g_zoomDlg);
    else
        ZoomGoto(static_cast<int8_t>(msg.wParam - '0'));
    return true;
}

INT_PTR CALLBACK ZoomDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

HWND OpenZoomDialog() { return OpenModeless(g_zoomDlg, IDD_ZOOM, ZoomDlgProc); }

void ResetZoomDialog()
{
    DestroyModeless(g_zoomDlg);
    g_zoomDialogActive = false;
    g_zoomDialogTicks = 0;
    g_shownTexts.Forget();
}
