#include "core/watch_layout.h"

#include <algorithm>

namespace {
constexpr int kMargin = 21;
constexpr int kGap = 10;
}

WatchLayout LayoutWatch(int clientWidth, int clientHeight, int okWidth, int okHeight)
{
    // Three readouts and the margins and gaps beside them; two readout
    // heights and the list's row beneath.
    const int width = std::max(0, (clientWidth - 62) / 3);
    const int height = std::max(0, (clientHeight - 78) / 2);
    WatchLayout layout;
    for (int i = 0; i < 3; ++i)
        layout.readouts[i] = {kMargin + i * (width + kGap), kMargin, width, height};
    layout.ok = {clientWidth - okWidth - kMargin, clientHeight - okHeight - kMargin, okWidth, okHeight};
    layout.listX = kMargin;
    layout.listY = height + 57;
    layout.listWidth = width;
    return layout;
}
