#include "core/scope_plot.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kFitMargin = 0.05;
constexpr double kMinSpanMs = kScopeTickMs;

int ToPixel(double position, int origin, int extent)
{
    const double held = std::clamp(position, -1.0, 2.0);
    return origin + static_cast<int>(std::lround(held * extent));
}

double Span(const PlotRange& range) { return range.high > range.low ? range.high - range.low : 1.0; }

auto FirstAtOrAfter(std::span<const ScopeSample> samples, double timeMs)
{
    return std::lower_bound(samples.begin(), samples.end(), timeMs,
                            [](const ScopeSample& s, double t) { return s.timeMs < t; });
}

} // namespace

int TimeToX(double timeMs, const PlotRange& time, const PlotRect& rect)
{
    return ToPixel((timeMs - time.low) / Span(time), rect.left, rect.width - 1);
}

double XToTime(int x, const PlotRange& time, const PlotRect& rect)
{
    return time.low + static_cast<double>(x - rect.left) / std::max(rect.width - 1, 1) * Span(time);
}

int ValueToY(double value, const PlotRange& range, const PlotRect& rect)
{
    return ToPixel((range.high - value) / Span(range), rect.top, rect.height - 1);
}

PlotRange FitTime(std::span<const ScopeSample> samples)
{
    if (samples.size() < 2)
        return {samples.empty() ? 0.0 : samples.front().timeMs,
                (samples.empty() ? 0.0 : samples.front().timeMs) + kMinSpanMs};
    return {static_cast<double>(samples.front().timeMs), static_cast<double>(samples.back().timeMs)};
}

PlotRange FitValues(std::span<const ScopeSample> samples, int channel, const PlotRange& time)
{
    double low = INFINITY, high = -INFINITY;
    for (auto s = FirstAtOrAfter(samples, time.low); s != samples.end() && s->timeMs <= time.high; ++s) {
        low = std::min(low, s->values[channel]);
        high = std::max(high, s->values[channel]);
    }
    if (low > high)
        return {-1.0, 1.0};
    if (high - low < 1e-9 * std::max(1.0, std::fabs(high))) {
        const double half = std::max(0.5 * std::fabs(high), 1e-3);
        return {low - half, high + half};
    }
    const double margin = (high - low) * kFitMargin;
    return {low - margin, high + margin};
}

PlotRange ZoomAbout(const PlotRange& range, double centre, double factor)
{
    const double span = std::max(Span(range) * factor, kMinSpanMs);
    const double share = (centre - range.low) / Span(range);
    const double low = centre - share * span;
    return {low, low + span};
}

double GridStep(double span, int maxLines)
{
    if (!(span > 0.0) || maxLines < 1)
        return 1.0;
    const double raw = span / maxLines;
    double step = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (step * factor >= raw)
            return step * factor;
    return step * 10.0;
}

std::optional<double> ValueAt(std::span<const ScopeSample> samples, int channel, double timeMs)
{
    if (samples.empty() || timeMs < samples.front().timeMs || timeMs > samples.back().timeMs)
        return std::nullopt;
    auto after = std::upper_bound(samples.begin(), samples.end(), timeMs,
                                  [](double t, const ScopeSample& s) { return t < s.timeMs; });
    return std::prev(after)->values[channel];
}

void PlotLine(std::span<const ScopeSample> samples, int channel, const PlotRange& time, const PlotRange& values,
              const PlotRect& rect, std::vector<PlotPoint>& out)
{
    out.clear();
    // One sample either side of the range, so the line runs to the edges.
    auto first = FirstAtOrAfter(samples, time.low);
    if (first != samples.begin())
        --first;
    auto last = FirstAtOrAfter(samples, time.high);
    if (last != samples.end())
        ++last;
    int column = 0;
    int low = 0, high = 0, entry = 0, exit = 0;
    bool open = false;
    auto flush = [&] {
        out.push_back({column, entry});
        if (low != entry && low != exit)
            out.push_back({column, low});
        if (high != entry && high != exit && high != low)
            out.push_back({column, high});
        if (exit != entry)
            out.push_back({column, exit});
    };
    for (auto s = first; s != last; ++s) {
        const int x = TimeToX(s->timeMs, time, rect);
        const int y = ValueToY(s->values[channel], values, rect);
        if (open && x == column) {
            low = std::max(low, y);
            high = std::min(high, y);
            exit = y;
            continue;
        }
        if (open)
            flush();
        column = x;
        low = high = entry = exit = y;
        open = true;
    }
    if (open)
        flush();
}
