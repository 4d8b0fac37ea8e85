#include "core/response_capture.h"

#include <cmath>
#include <cstdio>

#include "core/unit_conversion.h"

namespace {

int ChannelIndex(const ScopeCapture& capture, int axis, ScopeQuantity quantity)
{
    for (size_t c = 0; c < capture.channels.size(); ++c)
        if (capture.channels[c].axis == axis && capture.channels[c].quantity == quantity)
            return static_cast<int>(c);
    return -1;
}

std::string Pair(const std::optional<double>& mean, const std::optional<double>& worst, const char* format)
{
    if (!mean || !worst)
        return "-";
    char text[64];
    std::snprintf(text, sizeof text, format, *mean, *worst);
    return text;
}

} // namespace

const char* const kResponseColumnNames[kResponseColumns] = {
    "time", "axis", "P", "D", "I", "saved to flash", "moves (unsettled)", "move time ms", "settling ms",
    "overshoot", "peak FE (counts)", "RMS FE (counts)", "final error (counts)"};

std::vector<ScopeChannel> ResponseChannels(int axis)
{
    return {{axis, ScopeQuantity::kPosition, ""}, {axis, ScopeQuantity::kFollowingError, ""},
            {axis, ScopeQuantity::kMoveStatus, ""}};
}

std::vector<ResponseSample> ResponseSamplesOf(const ScopeCapture& capture, int axis, double mmPerCount)
{
    const int position = ChannelIndex(capture, axis, ScopeQuantity::kPosition);
    const int lag = ChannelIndex(capture, axis, ScopeQuantity::kFollowingError);
    const int status = ChannelIndex(capture, axis, ScopeQuantity::kMoveStatus);
    if (position < 0 || lag < 0 || !(mmPerCount > 0))
        return {};
    const double perCount = capture.channels[position].unit == "in" ? mmPerCount / kMmPerInch : mmPerCount;
    std::vector<ResponseSample> samples;
    samples.reserve(capture.samples.size());
    for (const ScopeSample& s : capture.samples)
        samples.push_back({double(s.timeMs), std::round(s.values[position] / perCount),
                           std::round(s.values[lag] / perCount), status < 0 ? -1 : int(s.values[status])});
    return samples;
}

RunFigures MeasureCapture(std::span<const ResponseSample> samples, double window)
{
    const std::vector<ResponseSample> clean = CleanSamples(samples);
    std::vector<MoveFigures> moves;
    for (const MoveSpan& span : SplitMoves(clean, window))
        if (auto figures = MeasureMove(std::span(clean).subspan(span.first, span.count), span.command))
            moves.push_back(*figures);
    return SummariseRun(moves);
}

std::vector<std::string> ResponseRowCells(const ResponseRowHead& head, const RunFigures& run)
{
    char moves[32];
    std::snprintf(moves, sizeof moves, "%d (%d)", run.moves, run.unsettled);
    char overshoot[64];
    // The digits the main window shows lengths with; counts are whole.
    const char* format = head.lengthUnit == "in" ? "%.5f / %.5f %s" : head.lengthUnit == "mm" ? "%.4f / %.4f %s"
                                                                                             : "%.0f / %.0f %s";
    std::snprintf(overshoot, sizeof overshoot, format, head.overshootMean, head.overshootWorst,
                  head.lengthUnit.c_str());
    const MoveFigures& m = run.mean;
    const MoveFigures& w = run.worst;
    return {head.time,
            kScopeAxisNames[head.axis],
            std::to_string(head.p),
            std::to_string(head.d),
            std::to_string(head.i),
            head.savedToFlash,
            moves,
            Pair(m.moveTimeMs, w.moveTimeMs, "%.0f / %.0f"),
            Pair(m.settlingMs, w.settlingMs, "%.0f / %.0f"),
            run.moves ? overshoot : "-",
            Pair(m.peakFollowingError, w.peakFollowingError, "%.1f / %.1f"),
            Pair(m.rmsFollowingError, w.rmsFollowingError, "%.1f / %.1f"),
            Pair(m.finalError, w.finalError, "%.1f / %.1f")};
}

std::string ResponseRowsCsv(const std::vector<std::vector<std::string>>& rows)
{
    std::string csv;
    auto line = [&csv](auto&& cells) {
        for (size_t c = 0; c < cells.size(); ++c)
            csv += (c ? ",\"" : "\"") + std::string(cells[c]) + "\"";
        csv += "\r\n";
    };
    line(std::vector<std::string>(std::begin(kResponseColumnNames), std::end(kResponseColumnNames)));
    for (const auto& row : rows)
        line(row);
    return csv;
}
