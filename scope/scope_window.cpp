#include "scope/scope_window.h"

#include <cstdio>
#include <iterator>
#include <string>
#include <variant>
#include <vector>

#include "core/capture_csv.h"
#include "core/number_text.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"
#include "infra/clock.h"
#include "infra/user_prompts.h"
#include "res/resource.h"
#include "scope/scope_acquisition.h"
#include "scope/scope_files.h"
#include "scope/scope_view.h"
#include "ui/control_text.h"
#include "ui/dialog.h"
#include "ui/fields.h"
#include "ui/modeless.h"

HWND g_scopeWnd;

namespace {

constexpr UINT kRefreshMs = 1000 / kScopeRepaintsPerSecond;
constexpr int kOffAxis = -1;   // the first item of a channel's axis list
// A file larger than the longest capture can be is refused unread.
constexpr size_t kCaptureFileLimit = 64u << 20;

struct ChannelRow {
    int axis, quantity, automatic, low, high;
};
constexpr ChannelRow kChannelRows[kScopeChannels] = {
    {IDC_SCOPE_AXIS_1, IDC_SCOPE_QUANTITY_1, IDC_SCOPE_AUTO_1, IDC_SCOPE_LOW_1, IDC_SCOPE_HIGH_1},
    {IDC_SCOPE_AXIS_2, IDC_SCOPE_QUANTITY_2, IDC_SCOPE_AUTO_2, IDC_SCOPE_LOW_2, IDC_SCOPE_HIGH_2},
    {IDC_SCOPE_AXIS_3, IDC_SCOPE_QUANTITY_3, IDC_SCOPE_AUTO_3, IDC_SCOPE_LOW_3, IDC_SCOPE_HIGH_3},
    {IDC_SCOPE_AXIS_4, IDC_SCOPE_QUANTITY_4, IDC_SCOPE_AUTO_4, IDC_SCOPE_LOW_4, IDC_SCOPE_HIGH_4},
};
constexpr const wchar_t* kAxisItems[] = {L"Off", L"X", L"Y", L"Z", L"Q", L"Zoom"};
constexpr const wchar_t* kQuantityItems[] = {L"Position", L"Following error", L"Velocity", L"Move status"};
constexpr const wchar_t* kModeItems[] = {L"Roll", L"Single", L"Normal"};
constexpr const wchar_t* kTriggerItems[] = {L"Move start", L"Following error"};
constexpr const wchar_t* kStateTexts[] = {L"Stopped", L"Armed", L"Capturing", L"Rolling"};

// What the technician chose; kept while the window is closed.
struct ScopeChoice {
    int axis[kScopeChannels] = {kAxisX, kAxisX, kOffAxis, kOffAxis};
    ScopeQuantity quantity[kScopeChannels] = {ScopeQuantity::kPosition, ScopeQuantity::kFollowingError,
                                              ScopeQuantity::kVelocity, ScopeQuantity::kVelocity};
    ScopeTriggerSettings trigger;
    double thresholdUnits = 0.1;   // in the trigger axis's length unit
};
ScopeChoice g_choice;
ShownFields g_fields;
uint64_t g_capturesSeen;
uint64_t g_repaints;

template <size_t N>
void FillList(HWND wnd, int id, const wchar_t* const (&items)[N], int selected)
{
    SendDlgItemMessageW(wnd, id, CB_RESETCONTENT, 0, 0);
    for (const wchar_t* item : items)
        SendDlgItemMessageW(wnd, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    g_fields.ShowSelection(wnd, id, selected);
}

void ShowNumber(HWND wnd, int id, double value)
{
    wchar_t text[64];
    std::swprintf(text, std::size(text), L"%g", value);
    g_fields.ShowText(wnd, id, text);
}

void ShowChoice(HWND wnd)
{
    const ScopeView& view = TheScopeView();
    for (int c = 0; c < kScopeChannels; ++c) {
        const ChannelRow& row = kChannelRows[c];
        FillList(wnd, row.axis, kAxisItems, g_choice.axis[c] + 1);
        FillList(wnd, row.quantity, kQuantityItems, static_cast<int>(g_choice.quantity[c]));
        g_fields.ShowCheck(wnd, row.automatic, view.scales[c].automatic);
        ShowNumber(wnd, row.low, view.scales[c].fixed.low);
        ShowNumber(wnd, row.high, view.scales[c].fixed.high);
    }
    FillList(wnd, IDC_SCOPE_MODE, kModeItems, static_cast<int>(g_choice.trigger.mode));
    FillList(wnd, IDC_SCOPE_TRIGGER, kTriggerItems, static_cast<int>(g_choice.trigger.kind));
    FillList(wnd, IDC_SCOPE_TRIGGER_AXIS, kAxisItems, g_choice.trigger.axis + 1);
    ShowNumber(wnd, IDC_SCOPE_THRESHOLD, g_choice.thresholdUnits);
    ShowNumber(wnd, IDC_SCOPE_LENGTH, g_choice.trigger.lengthS);
    ShowNumber(wnd, IDC_SCOPE_PRE_TRIGGER, g_choice.trigger.preTriggerPercent);
    SetControlTextIfChanged(wnd, IDC_SCOPE_THRESHOLD_CAPTION,
                            g_unitMode == kUnitInch ? L"Threshold (in)" : L"Threshold (mm)");
}

// The selection of a list, as the technician left it.
template <class T>
void TakeSelection(HWND wnd, int id, T& stored, int offset = 0)
{
    const int selected = ListSelection(wnd, id);
    if (selected >= 0)
        stored = static_cast<T>(selected + offset);
}

template <class T>
void TakeWhole(HWND wnd, int id, T& stored)
{
    if (const auto value = g_fields.TakeTypedNumber<int32_t>(wnd, id, WholeSigned))
        stored = static_cast<T>(*value);
}

void TakeChoice(HWND wnd)
{
    for (int c = 0; c < kScopeChannels; ++c) {
        TakeSelection(wnd, kChannelRows[c].axis, g_choice.axis[c], -1);
        TakeSelection(wnd, kChannelRows[c].quantity, g_choice.quantity[c]);
    }
    TakeSelection(wnd, IDC_SCOPE_MODE, g_choice.trigger.mode);
    TakeSelection(wnd, IDC_SCOPE_TRIGGER, g_choice.trigger.kind);
    int triggerAxis = g_choice.trigger.axis;
    TakeSelection(wnd, IDC_SCOPE_TRIGGER_AXIS, triggerAxis, -1);
    if (triggerAxis != kOffAxis)
        g_choice.trigger.axis = triggerAxis;
    if (const auto value = g_fields.TakeTypedNumber<double>(wnd, IDC_SCOPE_THRESHOLD, WholeDouble))
        g_choice.thresholdUnits = *value;
    TakeWhole(wnd, IDC_SCOPE_LENGTH, g_choice.trigger.lengthS);
    TakeWhole(wnd, IDC_SCOPE_PRE_TRIGGER, g_choice.trigger.preTriggerPercent);
    g_choice.trigger = ClampedTrigger(g_choice.trigger);
}

void TakeScales(HWND wnd)
{
    ScopeView& view = TheScopeView();
    for (int c = 0; c < kScopeChannels; ++c) {
        const ChannelRow& row = kChannelRows[c];
        ChannelScale& scale = view.scales[c];
        scale.automatic = IsBoxChecked(wnd, row.automatic);
        if (const auto low = g_fields.TakeTypedNumber<double>(wnd, row.low, WholeDouble))
            scale.fixed.low = *low;
        if (const auto high = g_fields.TakeTypedNumber<double>(wnd, row.high, WholeDouble))
            scale.fixed.high = *high;
    }
}

double ThresholdCounts()
{
    double perCount = g_resolution[g_choice.trigger.axis];
    if (g_unitMode == kUnitInch)
        perCount /= kMmPerInch;
    return perCount > 0.0 ? g_choice.thresholdUnits / perCount : g_choice.thresholdUnits;
}

void StartChosen()
{
    std::vector<ScopeChannel> channels;
    for (int c = 0; c < kScopeChannels; ++c)
        if (g_choice.axis[c] != kOffAxis)
            channels.push_back({g_choice.axis[c], g_choice.quantity[c], ""});
    ScopeTriggerSettings trigger = g_choice.trigger;
    trigger.lagThresholdCounts = ThresholdCounts();
    StartScopeAcquisition(channels, trigger);
}

void OnRun(HWND wnd)
{
    TakeChoice(wnd);
    StartChosen();
    TheScopeView().timeFitted = true;
}

void OnStop(HWND) { StopScopeAcquisition(); }

// A choice changed while the scope runs takes effect at once.
void OnChoiceChanged(HWND wnd)
{
    if (ScopeAcquisitionRunning())
        OnRun(wnd);
}

void OnScaleChanged(HWND wnd)
{
    TakeScales(wnd);
    RequestScopeRepaint();
}

void OnFit(HWND wnd)
{
    ScopeView& view = TheScopeView();
    for (int c = 0; c < kScopeChannels; ++c) {
        view.scales[c].automatic = true;
        g_fields.ShowCheck(wnd, kChannelRows[c].automatic, true);
    }
    FitScopeView(view);
    RequestScopeRepaint();
}

void Complain(HWND wnd, const wchar_t* text) { ShowMessageBox(wnd, text, L"Scope", MB_OK | MB_ICONWARNING); }

void OnSave(HWND wnd)
{
    const ScopeCapture& capture = TheScopeView().capture;
    if (capture.samples.empty()) {
        Complain(wnd, L"There is no capture to save.");
        return;
    }
    const auto path = AskScopeFileName(wnd, ScopeFileKind::kCapture, true);
    if (path && !WriteScopeFile(*path, WriteCaptureCsv(capture)))
        Complain(wnd, L"The capture could not be written.");
}

// The capture in the file the technician chooses; none, after saying why,
// when it cannot be read or is no capture. What is shown stays as it was.
std::optional<ScopeCapture> AskCapture(HWND wnd)
{
    const auto path = AskScopeFileName(wnd, ScopeFileKind::kCapture, false);
    if (!path)
        return std::nullopt;
    const auto bytes = ReadScopeFile(*path, kCaptureFileLimit);
    if (!bytes) {
        Complain(wnd, L"The file could not be read.");
        return std::nullopt;
    }
    auto read = ReadCaptureCsv(*bytes);
    if (const auto* error = std::get_if<CaptureCsvError>(&read)) {
        wchar_t text[256];
        std::swprintf(text, std::size(text), L"The file is not a scope capture: line %d: %hs.", error->line,
                      error->reason.c_str());
        Complain(wnd, text);
        return std::nullopt;
    }
    return std::get<ScopeCapture>(std::move(read));
}

void OnLoad(HWND wnd)
{
    auto capture = AskCapture(wnd);
    if (!capture)
        return;
    StopScopeAcquisition();
    ScopeView& view = TheScopeView();
    view.capture = std::move(*capture);
    FitScopeView(view);
    RequestScopeRepaint();
}

void OnOverlay(HWND wnd)
{
    auto capture = AskCapture(wnd);
    if (!capture)
        return;
    ScopeView& view = TheScopeView();
    view.reference = std::move(*capture);
    if (view.timeFitted)
        FitScopeView(view);
    RequestScopeRepaint();
}

void OnNoOverlay(HWND)
{
    TheScopeView().reference.reset();
    RequestScopeRepaint();
}

void OnPicture(HWND wnd)
{
    const auto path = AskScopeFileName(wnd, ScopeFileKind::kPicture, true);
    if (!path)
        return;
    HWND plot = GetDlgItem(wnd, IDC_SCOPE_PLOT);
    RECT client{};
    GetClientRect(plot, &client);
    HDC dc = GetDC(plot);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(plot, dc);
    const std::string bitmap = ScopeViewBitmap(std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1), dpi);
    if (bitmap.empty() || !WriteScopeFile(*path, bitmap))
        Complain(wnd, L"The picture could not be written.");
}

// What the acquisition holds, into the view: a completed capture as soon as
// there is one, else while it rolls or captures what it has so far.
bool FollowAcquisition()
{
    ScopeView& view = TheScopeView();
    if (ScopeCapturesCompleted() != g_capturesSeen) {
        g_capturesSeen = ScopeCapturesCompleted();
        view.capture = ScopeCapturesSinceStart().back();
    } else if (ScopeAcquisitionRunning() && (ScopeAcquisition().State() == ScopeState::kRolling ||
                                             ScopeAcquisition().State() == ScopeState::kCapturing)) {
        view.capture = SnapshotScopeCapture();
    } else {
        return false;
    }
    if (view.timeFitted)
        FitScopeView(view);
    return true;
}

void OnRefresh(HWND wnd)
{
    const bool changed = FollowAcquisition();
    const ScopeState state = ScopeAcquisitionRunning() ? ScopeAcquisition().State() : ScopeState::kStopped;
    SetControlTextIfChanged(wnd, IDC_SCOPE_STATE, kStateTexts[static_cast<int>(state)]);
    if (TakeScopeRepaintRequest() || changed) {
        ++g_repaints;
        InvalidateRect(GetDlgItem(wnd, IDC_SCOPE_PLOT), nullptr, FALSE);
    }
}

// The plot keeps its distance from the window's left, right and bottom edges.
void OnResize(HWND wnd, int width, int height)
{
    HWND plot = GetDlgItem(wnd, IDC_SCOPE_PLOT);
    if (!plot)
        return;
    RECT r{};
    GetWindowRect(plot, &r);
    MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&r), 2);
    const int margin = r.left;
    MoveWindow(plot, r.left, r.top, std::max(1, width - 2 * margin), std::max<int>(1, height - r.top - margin), TRUE);
    RequestScopeRepaint();
}

void OnInit(HWND wnd)
{
    g_fields.Forget();
    ShowChoice(wnd);
    g_capturesSeen = ScopeCapturesCompleted();
    RECT client{};
    GetClientRect(wnd, &client);
    OnResize(wnd, client.right, client.bottom);
    StartTimer(wnd, IDT_TICK, kRefreshMs);
}

// Nothing is read from the board while the window is closed.
void OnClose(HWND wnd)
{
    StopScopeAcquisition();
    CloseModeless(g_scopeWnd, wnd);
}

void OnDestroyed(HWND) { StopScopeAcquisition(); }

constexpr CommandRoute kRoutes[] = {
    {IDC_SCOPE_RUN, WindowHandler<OnRun>},
    {IDC_SCOPE_STOP, WindowHandler<OnStop>},
    {IDC_SCOPE_FIT, WindowHandler<OnFit>},
    {IDC_SCOPE_SAVE, WindowHandler<OnSave>},
    {IDC_SCOPE_LOAD, WindowHandler<OnLoad>},
    {IDC_SCOPE_OVERLAY, WindowHandler<OnOverlay>},
    {IDC_SCOPE_NO_OVERLAY, WindowHandler<OnNoOverlay>},
    {IDC_SCOPE_PICTURE, WindowHandler<OnPicture>},
    {IDC_SCOPE_EXIT, WindowHandler<OnClose>},
    {IDC_SCOPE_AXIS_1, WindowHandler<OnChoiceChanged>, CBN_SELCHANGE},
    {IDC_SCOPE_AXIS_2, WindowHandler<OnChoiceChanged>, CBN_SELCHANGE},
    {IDC_SCOPE_AXIS_3, WindowHandler<OnChoiceChanged>, CBN_SELCHANGE},
    {IDC_SCOPE_AXIS_4, WindowHandler<OnChoiceChanged>, CBN_SELCHANGE},
    {IDC_SCOPE_QUANTITY_1, WindowHandler<OnChoiceChanged>, CBN_SELCHANGE},
    {IDC_SCOPE_QUANTITY_2, WindowHandler<OnChoiceChanged>, CBN_SELCHANGE},
    {IDC_SCOPE_QUANTITY_3, WindowHandler<OnChoiceChanged>, CBN_SELCHANGE},
    {IDC_SCOPE_QUANTITY_4, WindowHandler<OnChoiceChanged>, CBN_SELCHANGE},
    {IDC_SCOPE_MODE, WindowHandler<OnChoiceChanged>, CBN_SELCHANGE},
    {IDC_SCOPE_TRIGGER, WindowHandler<OnChoiceChanged>, CBN_SELCHANGE},
    {IDC_SCOPE_TRIGGER_AXIS, WindowHandler<OnChoiceChanged>, CBN_SELCHANGE},
    {IDC_SCOPE_AUTO_1, WindowHandler<OnScaleChanged>},
    {IDC_SCOPE_AUTO_2, WindowHandler<OnScaleChanged>},
    {IDC_SCOPE_AUTO_3, WindowHandler<OnScaleChanged>},
    {IDC_SCOPE_AUTO_4, WindowHandler<OnScaleChanged>},
    {IDC_SCOPE_LOW_1, WindowHandler<OnScaleChanged>, EN_KILLFOCUS},
    {IDC_SCOPE_LOW_2, WindowHandler<OnScaleChanged>, EN_KILLFOCUS},
    {IDC_SCOPE_LOW_3, WindowHandler<OnScaleChanged>, EN_KILLFOCUS},
    {IDC_SCOPE_LOW_4, WindowHandler<OnScaleChanged>, EN_KILLFOCUS},
    {IDC_SCOPE_HIGH_1, WindowHandler<OnScaleChanged>, EN_KILLFOCUS},
    {IDC_SCOPE_HIGH_2, WindowHandler<OnScaleChanged>, EN_KILLFOCUS},
    {IDC_SCOPE_HIGH_3, WindowHandler<OnScaleChanged>, EN_KILLFOCUS},
    {IDC_SCOPE_HIGH_4, WindowHandler<OnScaleChanged>, EN_KILLFOCUS},
};
constexpr DialogBehaviour kBehaviour = {.init = OnInit,
                                        .routes = kRoutes,
                                        .tick = OnRefresh,
                                        .close = OnClose,
                                        .destroyed = OnDestroyed,
                                        .resized = OnResize,
                                        .modeless = &g_scopeWnd};

} // namespace

INT_PTR CALLBACK ScopeDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

HWND OpenScopeWindow()
{
    RegisterScopePlotClass();
    return OpenModeless(g_scopeWnd, IDD_SCOPE, ScopeDlgProc);
}

void SendGotoRunToScope()
{
    constexpr int kRunAxes[kScopeChannels] = {kAxisX, kAxisY, kAxisX, kAxisY};
    constexpr ScopeQuantity kRunQuantities[kScopeChannels] = {ScopeQuantity::kPosition, ScopeQuantity::kPosition,
                                                              ScopeQuantity::kFollowingError,
                                                              ScopeQuantity::kFollowingError};
    for (int c = 0; c < kScopeChannels; ++c) {
        g_choice.axis[c] = kRunAxes[c];
        g_choice.quantity[c] = kRunQuantities[c];
    }
    g_choice.trigger.mode = ScopeMode::kNormal;
    g_choice.trigger.kind = ScopeTriggerKind::kMoveStart;
    g_choice.trigger.axis = kAxisX;
    HWND wnd = OpenScopeWindow();
    g_fields.Forget();
    ShowChoice(wnd);
    StartChosen();
}

void ShowCaptureInScope(const ScopeCapture& capture, const ScopeCapture* reference)
{
    OpenScopeWindow();
    StopScopeAcquisition();
    ScopeView& view = TheScopeView();
    view.capture = capture;
    view.reference.reset();
    if (reference)
        view.reference = *reference;
    view.timeFitted = true;
    FitScopeView(view);
    RequestScopeRepaint();
}

uint64_t ScopeRepaints() { return g_repaints; }

void ResetScopeWindow()
{
    DestroyModeless(g_scopeWnd);
    g_choice = ScopeChoice{};
    g_fields.Forget();
    g_capturesSeen = 0;
    TheScopeView() = ScopeView{};
}
