#include "motion/watch_window.h"

#include "core/axes.h"
#include "core/flash_items.h"
#include "core/joystick_word.h"
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "core/watch_layout.h"
#include "driver/axb400.h"
#include "infra/clock.h"
#include "res/resource.h"
#include "ui/control_text.h"
#include "ui/dialog.h"
#include "ui/fields.h"
#include "ui/modeless.h"

#include <cstdio>
#include <iterator>

HWND g_watchWnd;

namespace {

constexpr UINT kRefreshMs = 100;
constexpr int kWatchedAxes = 3;
constexpr int kReadouts[kWatchedAxes] = {IDC_WATCH_X, IDC_WATCH_Y, IDC_WATCH_Z};
constexpr wchar_t kFontFace[] = L"Microsoft Sans Serif";

using Values = int32_t[kWatchedAxes];

enum class Shown { kLength, kHex };

void ReadLags(Values& v)
{
    for (int a = 0; a < kWatchedAxes; ++a)
        AXB_GetFollowingError(0, a, &v[a]);
}

void ReadMaxLags(Values& v)
{
    for (int a = 0; a < kWatchedAxes; ++a)
        v[a] = g_maxFollowing[a];
}

// Only an axis whose whole P064 is 4 (open-loop stepper) counts its own steps.
void ReadPositions(Values& v)
{
    for (int a = 0; a < kWatchedAxes; ++a) {
        int32_t raw = 0;
        if (g_param[AxisParam(kParamMotorType, a)] == kMotorOpenLoopStepper)
            AXB_GetAxisPosValue(0, a, &raw);
        else
            AXB_GetLatchReg(0, a, 0, &raw);
        v[a] = AddCounts(AddCounts(raw, -machine_zero_offset[a]), -g_offset[a]);
    }
}

template <bool ErrorByte>
void ReadMoveStatus(Values& v)
{
    for (int a = 0; a < kWatchedAxes; ++a) {
        uint8_t moveStatus = 0, errorByte = 0;
        AXB_GetMoveStatus(0, a, &moveStatus, &errorByte);
        v[a] = ErrorByte ? errorByte : moveStatus;
    }
}

void ReadJoystick(Values& v)
{
    uint32_t mode = 0;
    uint8_t functions = 0, state = 0;
    AXB_GetJoyStickMode(0, &mode, &functions, &state);
    v[0] = static_cast<int32_t>(JoystickButtonFunction(g_param[kParamJoystickOptions], 1));
    v[1] = static_cast<int32_t>(mode);
    v[2] = state;
}

struct WatchQuantity {
    int index;   // in the selection list
    const wchar_t* name;
    void (*read)(Values& v);
    Shown shown;
};

constexpr WatchQuantity kQuantities[] = {
    {0, L"lag", ReadLags, Shown::kLength},
    {1, L"lag max", ReadMaxLags, Shown::kLength},
    {2, L"pos", ReadPositions, Shown::kLength},
    {3, L"status", ReadMoveStatus<false>, Shown::kHex},
    {4, L"error", ReadMoveStatus<true>, Shown::kHex},
    {5, L"joystick", ReadJoystick, Shown::kHex},
};

ShownTexts g_shown;
// The readouts' font: deleted once the controls have the next one.
HFONT g_font;

void FormatWatchValue(char* out, size_t size, int32_t value, int axis, Shown shown)
{
    if (shown == Shown::kHex) {
        std::snprintf(out, size, "0x%02X", static_cast<unsigned>(value));
        return;
    }
    const float mm = static_cast<float>(value) * g_resolution[axis];
    if (g_unitMode == kUnitInch)
        std::snprintf(out, size, "%.5f", static_cast<double>(mm / kMmPerInchF));
    else
        std::snprintf(out, size, "%.4f", static_cast<double>(mm));
}

void OnRefresh(HWND wnd)
{
    if (!g_boardPresent)
        return;
    const int selected = ListSelection(wnd, IDC_WATCH_SELECT);
    for (const WatchQuantity& quantity : kQuantities) {
        if (quantity.index != selected)
            continue;
        Values v{};
        quantity.read(v);
        for (int a = 0; a < kWatchedAxes; ++a) {
            char text[128];
            FormatWatchValue(text, sizeof text, v[a], a, quantity.shown);
            g_shown.Set(wnd, kReadouts[a], text);
        }
    }
}

HFONT MakeReadoutFont(int height)
{
    return CreateFontW(height, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, kFontFace);
}

// Every trial font is deleted as soon as it is measured: one drag of the
// frame sends hundreds of resizes.
int FitFontHeight(HWND wnd, const WatchRect& readout)
{
    HWND control = GetDlgItem(wnd, IDC_WATCH_X);
    HDC dc = GetDC(control);
    auto measure = [dc](int height) {
        HFONT font = MakeReadoutFont(height);
        HGDIOBJ previous = SelectObject(dc, font);
        SIZE size{};
        const bool measured =
            GetTextExtentPoint32W(dc, kWatchFitText, static_cast<int>(std::size(kWatchFitText)) - 1, &size) != 0;
        SelectObject(dc, previous);
        DeleteObject(font);
        return TextExtent{measured, static_cast<int>(size.cx), static_cast<int>(size.cy)};
    };
    const int height = FitReadoutFontHeight(readout.width, readout.height, measure);
    ReleaseDC(control, dc);
    return height;
}

void Place(HWND control, const WatchRect& r) { MoveWindow(control, r.x, r.y, r.width, r.height, TRUE); }

void OnResize(HWND wnd, int width, int height)
{
    HWND ok = GetDlgItem(wnd, IDC_WATCH_OK);
    HWND list = GetDlgItem(wnd, IDC_WATCH_SELECT);
    if (!ok || !list)
        return;   // sizing before the controls exist
    RECT okRect{};
    GetWindowRect(ok, &okRect);
    const WatchLayout layout =
        LayoutWatch(width, height, okRect.right - okRect.left, okRect.bottom - okRect.top,
                    static_cast<int>(GetDpiForWindow(wnd)));
    for (int a = 0; a < kWatchedAxes; ++a)
        Place(GetDlgItem(wnd, kReadouts[a]), layout.readouts[a]);
    Place(ok, layout.ok);

    const int fontHeight = FitFontHeight(wnd, layout.readouts[0]);
    MoveWindow(list, layout.listX, layout.listY, layout.listWidth, kWatchListHeightInFonts * fontHeight, TRUE);
    HFONT font = MakeReadoutFont(fontHeight);
    for (int id : kReadouts)
        SendDlgItemMessageW(wnd, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (g_font)
        DeleteObject(g_font);
    g_font = font;
}

void FitToClient(HWND wnd)
{
    RECT client{};
    GetClientRect(wnd, &client);
    OnResize(wnd, client.right, client.bottom);
}

void OnInit(HWND wnd)
{
    for (const WatchQuantity& quantity : kQuantities)
        SendDlgItemMessageW(wnd, IDC_WATCH_SELECT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(quantity.name));
    SendDlgItemMessageW(wnd, IDC_WATCH_SELECT, CB_SETCURSEL, 0, 0);
    g_shown.Forget();
    FitToClient(wnd);
    StartTimer(wnd, IDT_TICK, kRefreshMs);
}

void OnClose(HWND wnd) { CloseModeless(g_watchWnd, wnd); }

void OnDestroyed(HWND)
{
    if (g_font)
        DeleteObject(g_font);
    g_font = nullptr;
}

constexpr CommandRoute kRoutes[] = {
    {IDC_WATCH_OK, WindowHandler<OnClose>},
};
constexpr DialogBehaviour kBehaviour = {.init = OnInit,
                                        .routes = kRoutes,
                                        .tick = OnRefresh,
                                        .destroyed = OnDestroyed,
                                        .resized = OnResize,
                                        .modeless = &g_watchWnd};

} // namespace

INT_PTR CALLBACK WatchDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

HWND OpenWatchWindow() { return OpenModeless(g_watchWnd, IDD_WATCH, WatchDlgProc); }

void ResetWatchWindow() { DestroyModeless(g_watchWnd); }
