#include "scope/scope_view.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr COLORREF kChannelColours[kScopeChannels] = {RGB(0, 90, 200), RGB(200, 40, 40), RGB(20, 140, 40),
                                                      RGB(150, 60, 170)};
constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kGridColour = RGB(225, 225, 225);
constexpr COLORREF kAxisColour = RGB(90, 90, 90);
constexpr COLORREF kCursorColours[2] = {RGB(230, 130, 0), RGB(0, 150, 150)};
constexpr int kTimeGridLines = 10;
constexpr int kValueGridLines = 8;
constexpr int kFontPoints = 8;
// Sizes at 96 dpi, scaled with the window's.
constexpr int kMargin = 8;
constexpr int kLegendWidth = 260;
constexpr double kWheelZoom = 0.8;
constexpr int kCursorGrabPixels = 6;

ScopeView g_view;
bool g_repaintWanted;

int Scaled(int px, int dpi) { return MulDiv(px, dpi, 96); }

PlotRect PlotArea(const RECT& area, int dpi, int lineHeight)
{
    const int margin = Scaled(kMargin, dpi);
    const int legend = std::min(Scaled(kLegendWidth, dpi), static_cast<int>(area.right - area.left) / 2);
    PlotRect rect;
    rect.left = area.left + margin;
    rect.top = area.top + margin;
    rect.width = std::max(1, static_cast<int>(area.right - area.left) - 3 * margin - legend);
    rect.height = std::max(1, static_cast<int>(area.bottom - area.top) - 2 * margin - lineHeight);
    return rect;
}

COLORREF Dimmed(COLORREF c)
{
    auto mix = [](int v) { return static_cast<BYTE>(v + (255 - v) * 3 / 5); };
    return RGB(mix(GetRValue(c)), mix(GetGValue(c)), mix(GetBValue(c)));
}

// An automatic scale covers the capture and the reference where both have
// the same channel, so the two lines compare on one scale.
PlotRange ValueRange(const ScopeView& view, const ScopeCapture& drawn, int c)
{
    if (!view.scales[c].automatic)
        return view.scales[c].fixed;
    PlotRange range = FitValues(drawn.samples, c, view.time);
    const ScopeCapture* other = &drawn == &view.capture ? (view.reference ? &*view.reference : nullptr) : &view.capture;
    const auto channel = static_cast<size_t>(c);
    if (other && !other->samples.empty() && channel < other->channels.size() &&
        other->channels[channel] == drawn.channels[channel]) {
        const PlotRange more = FitValues(other->samples, c, view.time);
        range = {std::min(range.low, more.low), std::max(range.high, more.high)};
    }
    return range;
}

void DrawLines(HDC dc, const ScopeView& view, const ScopeCapture& capture, const PlotRect& rect, int width, bool dim)
{
    std::vector<PlotPoint> points;
    std::vector<POINT> line;
    for (size_t c = 0; c < capture.channels.size(); ++c) {
        const int ci = static_cast<int>(c);
        const PlotRange values = ValueRange(view, capture, ci);
        PlotLine(capture.samples, ci, view.time, values, rect, points);
        if (points.empty())
            continue;
        line.resize(points.size());
        std::transform(points.begin(), points.end(), line.begin(), [](PlotPoint p) { return POINT{p.x, p.y}; });
        // A wide pen costs Wine's bitmap drawing a polygon per segment, two
        // orders of magnitude more than a thin one: a wide line is drawn as
        // thin copies shifted across and down, which thicken steep and
        // shallow segments alike (a diagonal shift leaves gaps in rising ones).
        HPEN pen = CreatePen(PS_SOLID, 1, dim ? Dimmed(kChannelColours[c]) : kChannelColours[c]);
        HGDIOBJ old = SelectObject(dc, pen);
        POINT origin{};
        GetViewportOrgEx(dc, &origin);
        Polyline(dc, line.data(), static_cast<int>(line.size()));
        for (int k = 1; k < width; ++k) {
            for (const POINT shift : {POINT{k, 0}, POINT{0, k}}) {
                SetViewportOrgEx(dc, origin.x + shift.x, origin.y + shift.y, nullptr);
                Polyline(dc, line.data(), static_cast<int>(line.size()));
            }
        }
        SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
}

void TimeLabel(char* out, size_t size, double ms, double stepMs)
{
    const int decimals = stepMs >= 1000 ? 0 : stepMs >= 100 ? 1 : stepMs >= 10 ? 2 : 3;
    // A grid line at the trigger reads 0, not the "-0.0" of a sum that missed it.
    const double seconds = std::fabs(ms) < stepMs / 2 ? 0.0 : ms / 1000.0;
    std::snprintf(out, size, "%.*f", decimals, seconds);
}

void PutText(HDC dc, int x, int y, const std::string& text, COLORREF colour)
{
    SetTextColor(dc, colour);
    TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

void DrawGrid(HDC dc, const ScopeView& view, const PlotRect& rect)
{
    HPEN grid = CreatePen(PS_SOLID, 1, kGridColour);
    HGDIOBJ old = SelectObject(dc, grid);
    const double step = GridStep(view.time.high - view.time.low, kTimeGridLines);
    const int bottom = rect.top + rect.height;
    for (double t = std::ceil(view.time.low / step) * step; t <= view.time.high; t += step) {
        const int x = TimeToX(t, view.time, rect);
        MoveToEx(dc, x, rect.top, nullptr);
        LineTo(dc, x, bottom);
        char label[32];
        TimeLabel(label, sizeof label, t, step);
        // A label past the plot's right edge would run into the axis title.
        SIZE size{};
        GetTextExtentPoint32A(dc, label, static_cast<int>(std::strlen(label)), &size);
        if (x + size.cx / 2 > rect.left + rect.width)
            continue;
        SetTextAlign(dc, TA_CENTER | TA_TOP);
        PutText(dc, x, bottom + 2, label, kAxisColour);
    }
    for (int i = 0; i <= kValueGridLines; ++i) {
        const int y = rect.top + MulDiv(rect.height - 1, i, kValueGridLines);
        MoveToEx(dc, rect.left, y, nullptr);
        LineTo(dc, rect.left + rect.width, y);
    }
    SelectObject(dc, old);
    DeleteObject(grid);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    HGDIOBJ frame = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, rect.left, rect.top, rect.left + rect.width, bottom);
    SelectObject(dc, frame);
}

void DrawCursors(HDC dc, const ScopeView& view, const PlotRect& rect, int width)
{
    if (!view.cursorsPlaced)
        return;
    for (int i = 0; i < 2; ++i) {
        HPEN pen = CreatePen(PS_SOLID, width, kCursorColours[i]);
        HGDIOBJ old = SelectObject(dc, pen);
        const int x = TimeToX(view.cursors[i], view.time, rect);
        MoveToEx(dc, x, rect.top, nullptr);
        LineTo(dc, x, rect.top + rect.height);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
}

std::string Reading(std::span<const ScopeSample> samples, int c, const ScopeChannel& channel, double t)
{
    const auto value = ValueAt(samples, c, t);
    if (!value)
        return "-";
    char text[64];
    FormatScopeValue(text, sizeof text, *value, channel);
    return text;
}

// With the cursors: a channel's values at both and their difference.
std::string CursorLine(const ScopeCapture& capture, int c, const ScopeView& view)
{
    const ScopeChannel& channel = capture.channels[c];
    std::string line = "A " + Reading(capture.samples, c, channel, view.cursors[0]) + "   B " +
                       Reading(capture.samples, c, channel, view.cursors[1]);
    const auto a = ValueAt(capture.samples, c, view.cursors[0]);
    const auto b = ValueAt(capture.samples, c, view.cursors[1]);
    if (a && b) {
        char text[64];
        FormatScopeValue(text, sizeof text, *b - *a, channel);
        line += std::string("   d ") + text;
    }
    return line;
}

void DrawLegend(HDC dc, const ScopeView& view, int left, int top, int lineHeight, int dpi)
{
    int y = top;
    if (view.cursorsPlaced) {
        char text[96];
        std::snprintf(text, sizeof text, "A %.3f s  B %.3f s  dt %.3f s", view.cursors[0] / 1000.0,
                      view.cursors[1] / 1000.0, (view.cursors[1] - view.cursors[0]) / 1000.0);
        PutText(dc, left, y, text, kAxisColour);
        y += lineHeight;
    }
    const int swatch = Scaled(12, dpi);
    auto entries = [&](const ScopeCapture& capture, bool dim, const std::string& prefix) {
        for (size_t c = 0; c < capture.channels.size(); ++c) {
            const COLORREF colour = dim ? Dimmed(kChannelColours[c]) : kChannelColours[c];
            HBRUSH brush = CreateSolidBrush(colour);
            RECT box{left, y + lineHeight / 4, left + swatch, y + lineHeight * 3 / 4};
            FillRect(dc, &box, brush);
            DeleteObject(brush);
            const int textLeft = left + swatch + Scaled(4, dpi);
            const COLORREF textColour = dim ? kAxisColour : RGB(0, 0, 0);
            PutText(dc, textLeft, y, prefix + ScopeChannelName(capture.channels[c]), textColour);
            y += lineHeight;
            if (view.cursorsPlaced) {
                PutText(dc, textLeft, y, CursorLine(capture, static_cast<int>(c), view), textColour);
                y += lineHeight;
            }
        }
    };
    entries(view.capture, false, "");
    if (view.reference)
        entries(*view.reference, true, "ref ");
}

HFONT MakeFont(int dpi)
{
    return CreateFontW(-MulDiv(kFontPoints, dpi, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                       L"MS Shell Dlg");
}

int Dpi(HWND wnd)
{
    HDC dc = GetDC(wnd);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(wnd, dc);
    return dpi > 0 ? dpi : 96;
}

PlotRect WindowPlotArea(HWND wnd)
{
    RECT client{};
    GetClientRect(wnd, &client);
    const int dpi = Dpi(wnd);
    HDC dc = GetDC(wnd);
    HFONT font = MakeFont(dpi);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(wnd, dc);
    return PlotArea(client, dpi, metrics.tmHeight);
}

void OnPaint(HWND wnd)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(wnd, &paint);
    RECT client{};
    GetClientRect(wnd, &client);
    // Drawn off screen and copied in one go: no flicker at 20 repaints a second.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1));
    HGDIOBJ old = SelectObject(memory, bitmap);
    PaintScopeView(memory, client, g_view, GetDeviceCaps(dc, LOGPIXELSY));
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(wnd, &paint);
}

// What a press of the mouse started.
enum class Drag { kNone, kCursor, kZoom };
Drag g_drag = Drag::kNone;
int g_dragCursor;
POINT g_zoomStart;

void OnLeftDown(HWND wnd, int x)
{
    SetFocus(wnd);
    const PlotRect rect = WindowPlotArea(wnd);
    const double t = XToTime(x, g_view.time, rect);
    if (!g_view.cursorsPlaced) {
        g_view.cursors = {t, t};
        g_view.cursorsPlaced = true;
        g_dragCursor = 1;
    } else {
        const int a = std::abs(TimeToX(g_view.cursors[0], g_view.time, rect) - x);
        const int b = std::abs(TimeToX(g_view.cursors[1], g_view.time, rect) - x);
        g_dragCursor = a <= b ? 0 : 1;
        if (std::min(a, b) > Scaled(kCursorGrabPixels, Dpi(wnd)))
            g_view.cursors[g_dragCursor] = t;
    }
    g_drag = Drag::kCursor;
    SetCapture(wnd);
    RequestScopeRepaint();
}

void OnMouseMove(HWND wnd, int x)
{
    if (g_drag != Drag::kCursor)
        return;
    g_view.cursors[g_dragCursor] = XToTime(x, g_view.time, WindowPlotArea(wnd));
    RequestScopeRepaint();
}

void OnZoomEnd(HWND wnd, int x)
{
    const PlotRect rect = WindowPlotArea(wnd);
    const double a = XToTime(g_zoomStart.x, g_view.time, rect);
    const double b = XToTime(x, g_view.time, rect);
    if (std::abs(x - g_zoomStart.x) >= kCursorGrabPixels) {
        g_view.time = ZoomAbout({std::min(a, b), std::max(a, b)}, std::min(a, b), 1.0);
        g_view.timeFitted = false;
        RequestScopeRepaint();
    }
}

void OnButtonUp(HWND wnd, int x)
{
    if (g_drag == Drag::kZoom)
        OnZoomEnd(wnd, x);
    g_drag = Drag::kNone;
    ReleaseCapture();
}

void OnWheel(HWND wnd, WPARAM wParam, LPARAM lParam)
{
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(wnd, &p);
    const double factor = GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? kWheelZoom : 1.0 / kWheelZoom;
    g_view.time = ZoomAbout(g_view.time, XToTime(p.x, g_view.time, WindowPlotArea(wnd)), factor);
    g_view.timeFitted = false;
    RequestScopeRepaint();
}

LRESULT CALLBACK ScopePlotProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaint(wnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        OnLeftDown(wnd, GET_X_LPARAM(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        SetFocus(wnd);
        g_drag = Drag::kZoom;
        g_zoomStart = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        SetCapture(wnd);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(wnd, GET_X_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        OnButtonUp(wnd, GET_X_LPARAM(lParam));
        return 0;
    case WM_MOUSEWHEEL:
        OnWheel(wnd, wParam, lParam);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    default:
        return DefWindowProcW(wnd, message, wParam, lParam);
    }
}

} // namespace

ScopeView& TheScopeView() { return g_view; }

void FitScopeView(ScopeView& view)
{
    PlotRange time = FitTime(view.capture.samples);
    if (view.reference && !view.reference->samples.empty()) {
        const PlotRange other = FitTime(view.reference->samples);
        time = view.capture.samples.empty() ? other
                                            : PlotRange{std::min(time.low, other.low), std::max(time.high, other.high)};
    }
    view.time = time;
    view.timeFitted = true;
}

void PaintScopeView(HDC dc, const RECT& area, const ScopeView& view, int dpi)
{
    HBRUSH background = CreateSolidBrush(kBackground);
    FillRect(dc, &area, background);
    DeleteObject(background);
    HFONT font = MakeFont(dpi);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int lineHeight = metrics.tmHeight;
    const PlotRect rect = PlotArea(area, dpi, lineHeight);
    DrawGrid(dc, view, rect);
    const int width = std::max(1, Scaled(1, dpi));
    const int liveWidth = Scaled(2, dpi);
    HRGN clip = CreateRectRgn(rect.left, rect.top, rect.left + rect.width, rect.top + rect.height);
    SelectClipRgn(dc, clip);
    if (view.reference)
        DrawLines(dc, view, *view.reference, rect, width, true);
    DrawLines(dc, view, view.capture, rect, liveWidth, false);
    DrawCursors(dc, view, rect, width);
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
    const int legendLeft = rect.left + rect.width + Scaled(kMargin, dpi);
    DrawLegend(dc, view, legendLeft, rect.top, lineHeight, dpi);
    PutText(dc, legendLeft, rect.top + rect.height + 2, "time (s)", kAxisColour);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

void RegisterScopePlotClass()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSW wc{};
    wc.lpfnWndProc = ScopePlotProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_CROSS));
    wc.lpszClassName = kScopePlotClass;
    registered = RegisterClassW(&wc) != 0;
}

bool TakeScopeRepaintRequest() { return std::exchange(g_repaintWanted, false); }

void RequestScopeRepaint() { g_repaintWanted = true; }
