#pragma once
// The Watch window's geometry: three readouts side by side that take the
// window's width, the quantity list below the first, OK in the corner, and
// the readout font as large as the digits fit.
#include <cstdint>

struct WatchRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct WatchLayout {
    WatchRect readouts[3];   // X, Y, Z
    WatchRect ok;
    int listX = 0;
    int listY = 0;
    int listWidth = 0;
};

// From the client size in pixels and OK's size, which it keeps; margins and
// gaps grow with the window's dpi (96 is 100 %). A window too small for the
// margins gives readouts of no size, not negative ones.
WatchLayout LayoutWatch(int clientWidth, int clientHeight, int okWidth, int okHeight, int dpi);

// The text the readout font is fitted to.
inline constexpr wchar_t kWatchFitText[] = L"00000.00000";
inline constexpr int kFirstTrialFontHeight = 8;
inline constexpr int kLastTrialFontHeight = 199;
// The list drops down seven font heights.
inline constexpr int kWatchListHeightInFonts = 7;

struct TextExtent {
    bool measured = false;
    int width = 0;
    int height = 0;
};

// The largest height whose text stays inside the readout: one below the
// first trial height (8, 9, ...) whose measured text is as high or as wide
// as the readout; the last trial height when none reaches it.
template <typename Measure>   // TextExtent measure(int height)
int FitReadoutFontHeight(int readoutWidth, int readoutHeight, Measure measure)
{
    for (int height = kFirstTrialFontHeight; height <= kLastTrialFontHeight; ++height) {
        const TextExtent extent = measure(height);
        if (extent.measured && (extent.height >= readoutHeight || extent.width >= readoutWidth))
            return height - 1;
    }
    return kLastTrialFontHeight;
}
