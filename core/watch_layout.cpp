#include "core/watch_layout.h"

#include <algorithm>

namespace {
// At 96 dpi, in pixels.
constexpr int kMargin = 21;
constexpr int kGap = 10;
constexpr int kListBelowReadout = 36;
constexpr int kListRow = 36;

constexpr int kBaseDpi = 96;
int Scaled(int pixels, int dpi) { return (pixels * dpi + kBaseDpi / 2) / kBaseDpi; }
}

WatchLayout LayoutWatch(int clientWidth, int clientHeight, int okWidth, int okHeight, int dpi)
{
    const int margin = Scaled(kMargin, dpi);
    const int gap = Scaled(kGap, dpi);
    // Three readouts and the margins and gaps beside them; two readout
    // heights and the list's row beneath.
    const int width = std::max(0, (clientWidth - 2 * margin - 2 * gap) / 3);
    const int height = std::max(0, (clientHeight - 2 * margin - Scaled(kListRow, dpi)) / 2);
    WatchLayout layout;
    for (int i = 0; i < 3; ++i)
        layout.readouts[i] = {margin + i * (width + gap), margin, width, height};
    layout.ok = {clientWidth - okWidth - margin, clientHeight - okHeight - margin, okWidth, okHeight};
    layout.listX = margin;
    layout.listY = height + margin + Scaled(kListBelowReadout, dpi);
    layout.listWidth = width;
    return layout;
}
