#pragma once
// The Scope's plot: what it shows (a capture, an optional reference capture
// dimmed behind it, each channel's scale, the time range and two cursors),
// its drawing into any device context (the window, a picture, the
// benchmark) and the plot control's window class with its mouse handling:
// the left button places and drags the nearer cursor, the right button drags
// a rectangle to zoom into, the wheel zooms the time about the mouse.
#include <windows.h>

#include <array>
#include <optional>

#include "core/scope_capture.h"
#include "core/scope_plot.h"

struct ChannelScale {
    bool automatic = true;
    PlotRange fixed{-1.0, 1.0};
};

struct ScopeView {
    ScopeCapture capture;
    std::optional<ScopeCapture> reference;
    std::array<ChannelScale, kScopeChannels> scales;
    PlotRange time{0.0, 1000.0};
    bool timeFitted = true;   // follows the capture until the technician zooms
    std::array<double, 2> cursors{0.0, 0.0};
    bool cursorsPlaced = false;
};

// The one view of the Scope window.
ScopeView& TheScopeView();

// The time range covering the capture and the reference.
void FitScopeView(ScopeView& view);

// Draws the whole plot into area: grid, time axis in seconds, the reference
// and the capture, the cursors and the legend, sized for dpi.
void PaintScopeView(HDC dc, const RECT& area, const ScopeView& view, int dpi);

// The class of the IDC_SCOPE_PLOT control; registered once.
inline constexpr wchar_t kScopePlotClass[] = L"StagetuneScopePlot";
void RegisterScopePlotClass();

// The plot asks for a repaint; the Scope window's timer makes it, so the
// plot repaints at most as often as that timer runs however fast the mouse.
bool TakeScopeRepaintRequest();
void RequestScopeRepaint();
