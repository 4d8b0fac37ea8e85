#include "core/move_response.h"

#include "core/unit_conversion.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMoveEndedBit = 0x01;
// The commanded position is a whole count: within half of one it stands.
constexpr double kStandingTolerance = 0.5;
constexpr double kCruiseTolerance = 0.01;   // of the top speed

double Commanded(const ResponseSample& s) { return s.position + s.followingError; }

bool Finite(const ResponseSample& s)
{
    return std::isfinite(s.timeMs) && std::isfinite(s.position) && std::isfinite(s.followingError);
}

bool Within(const ResponseSample& s, const MoveCommand& move)
{
    return std::fabs(s.position - move.target) <= move.window;
}

// The first sample at which the profile has ended: the command stands at
// the target and, where captured, the board says the move is complete (which
// it also says while the axis stands at the start, before the move).
// samples.size() when none.
size_t ProfileEnd(std::span<const ResponseSample> samples, const MoveCommand& move)
{
    for (size_t i = 0; i < samples.size(); ++i) {
        const ResponseSample& s = samples[i];
        const bool complete = s.moveStatus < 0 || (s.moveStatus & kMoveEndedBit) != 0;
        if (complete && std::fabs(Commanded(s) - move.target) <= kStandingTolerance)
            return i;
    }
    return samples.size();
}

double Speed(const ResponseSample& a, const ResponseSample& b)
{
    return (Commanded(b) - Commanded(a)) / (b.timeMs - a.timeMs);
}

std::optional<double> CruiseRms(std::span<const ResponseSample> samples)
{
    double top = 0;
    for (size_t i = 1; i < samples.size(); ++i)
        top = std::max(top, std::fabs(Speed(samples[i - 1], samples[i])));
    if (top == 0)
        return std::nullopt;
    double sum = 0;
    int n = 0;
    for (size_t i = 1; i + 1 < samples.size(); ++i) {
        const double before = std::fabs(Speed(samples[i - 1], samples[i]));
        const double after = std::fabs(Speed(samples[i], samples[i + 1]));
        if (top - before <= kCruiseTolerance * top && top - after <= kCruiseTolerance * top) {
            sum += samples[i].followingError * samples[i].followingError;
            ++n;
        }
    }
    if (n == 0)
        return std::nullopt;
    return std::sqrt(sum / n);
}

} // namespace

std::vector<ResponseSample> CleanSamples(std::span<const ResponseSample> samples)
{
    std::vector<ResponseSample> clean;
    clean.reserve(samples.size());
    for (const ResponseSample& s : samples)
        if (Finite(s) && (clean.empty() || s.timeMs > clean.back().timeMs))
            clean.push_back(s);
    return clean;
}

std::optional<MoveFigures> MeasureMove(std::span<const ResponseSample> samples, const MoveCommand& move)
{
    std::vector<ResponseSample> clean = CleanSamples(samples);
    std::erase_if(clean, [&](const ResponseSample& s) { return s.timeMs < move.commandMs; });
    if (clean.empty() || !std::isfinite(move.target) || !std::isfinite(move.start) || !std::isfinite(move.window))
        return std::nullopt;
    const std::span<const ResponseSample> run(clean);
    MoveFigures f;
    const double direction = move.target >= move.start ? 1.0 : -1.0;
    for (const ResponseSample& s : run) {
        if (!f.moveTimeMs && Within(s, move))
            f.moveTimeMs = s.timeMs - move.commandMs;
        f.overshoot = std::max(f.overshoot, direction * (s.position - move.target));
    }
    const size_t end = ProfileEnd(run, move);
    for (size_t i = 0; i < std::min(end + 1, run.size()); ++i)
        f.peakFollowingError = std::max(f.peakFollowingError, std::fabs(run[i].followingError));
    f.rmsFollowingError = CruiseRms(run.first(std::min(end + 1, run.size())));
    f.finalError = run.back().position - move.target;
    if (end < run.size() && Within(run.back(), move)) {
        size_t from = run.size() - 1;
        while (from > end && Within(run[from - 1], move))
            --from;
        f.settlingMs = run[from].timeMs - run[end].timeMs;
    }
    return f;
}

std::vector<MoveSpan> SplitMoves(std::span<const ResponseSample> clean, double window)
{
    std::vector<MoveSpan> moves;
    size_t i = 1;
    while (i < clean.size()) {
        if (std::fabs(Commanded(clean[i]) - Commanded(clean[i - 1])) <= kStandingTolerance) {
            ++i;
            continue;
        }
        const size_t first = i - 1;
        while (i < clean.size() && std::fabs(Commanded(clean[i]) - Commanded(clean[i - 1])) > kStandingTolerance)
            ++i;
        if (!moves.empty())
            moves.back().count = first - moves.back().first;
        if (i == clean.size())
            break; // still moving when the capture ended
        const MoveCommand command{clean[first].timeMs, Commanded(clean[first]), Commanded(clean[i]), window};
        moves.push_back({first, clean.size() - first, command});
    }
    return moves;
}

RunFigures SummariseRun(std::span<const MoveFigures> moves)
{
    RunFigures run;
    run.moves = static_cast<int>(moves.size());
    struct Tally {
        double sum = 0;
        int n = 0;
        std::optional<double> worst;
        void Add(std::optional<double> v)
        {
            if (!v)
                return;
            sum += *v;
            ++n;
            worst = std::max(worst.value_or(*v), *v);
        }
        std::optional<double> Mean() const { return n ? std::optional<double>(sum / n) : std::nullopt; }
    };
    Tally moveTime, settling, overshoot, peak, rms, final;
    double worstFinal = 0;
    for (const MoveFigures& m : moves) {
        moveTime.Add(m.moveTimeMs);
        settling.Add(m.settlingMs);
        run.unsettled += m.settlingMs ? 0 : 1;
        overshoot.Add(m.overshoot);
        peak.Add(m.peakFollowingError);
        rms.Add(m.rmsFollowingError);
        final.Add(m.finalError);
        if (std::fabs(m.finalError) > std::fabs(worstFinal))
            worstFinal = m.finalError;
    }
    run.mean = {moveTime.Mean(), settling.Mean(), overshoot.Mean().value_or(0), peak.Mean().value_or(0), rms.Mean(),
                final.Mean().value_or(0)};
    run.worst = {moveTime.worst, settling.worst, overshoot.worst.value_or(0), peak.worst.value_or(0), rms.worst,
                 worstFinal};
    return run;
}

float OvershootInUnits(const MoveFigures& figures, int axis, int unitMode)
{
    const int kind = unitMode == 1 ? kConvCountsInch : unitMode == 2 ? kConvCountsMm : kConvRaw;
    return CountsToUnits(Nearest(figures.overshoot), axis, kind);
}
