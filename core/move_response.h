#pragma once
// How one move of one axis went, from the samples a capture took of it, and
// the mean and worst over the moves of a run. Works on any capture: taken
// live on the 10 ms tick or loaded from a file.
//
// The board's convention: the following error is the commanded (nominal)
// position less the actual one, so it is positive while the axis trails a
// move upwards, and the commanded position at a sample is position +
// following error. The profile has ended at the first sample whose
// move-status byte has bit 0 (motion complete) set, or, without the byte,
// at the first sample whose commanded position stands on the target.
//
// Samples with a value that is not finite, and samples not later than the
// one kept before them, are left out; an empty capture gives no figures.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct ResponseSample {
    double timeMs = 0;
    double position = 0;       // counts, as the axis's counter reads
    double followingError = 0; // counts
    int moveStatus = -1;       // the move-status byte; -1: not captured
};

// What the move was: when it was commanded, from where to where, and the
// axis's target window (P060 + 40a), all in counts.
struct MoveCommand {
    double commandMs = 0;
    double start = 0;
    double target = 0;
    double window = 0;
};

struct MoveFigures {
    // Command to the first sample within the target window; none: never.
    std::optional<double> moveTimeMs;
    // End of the profile to the sample from which the position stays within
    // the window to the end of the capture (0 when it never leaves it after
    // the end); none when the last sample is outside or the profile has not
    // ended within the capture.
    std::optional<double> settlingMs;
    double overshoot = 0;          // counts beyond the target, the way the move went; 0 if none
    double peakFollowingError = 0; // largest |following error| until the profile ended
    // Root mean square of the following error where the commanded velocity
    // is constant (both neighbouring steps within 1 % of the top speed);
    // none for a move without such a part (a short triangle).
    std::optional<double> rmsFollowingError;
    double finalError = 0;         // position - target at the last sample
};

// Figures of one move from its samples (those before the command count not).
std::optional<MoveFigures> MeasureMove(std::span<const ResponseSample> samples, const MoveCommand& move);

// The moves of a back-and-forth run: each from the last sample before its
// commanded position sets off up to the last sample before the next move's,
// so that its dwell is part of it. The command is taken at that first
// sample, the start and target where the commanded position stood before and
// came to rest after. A move the capture ends in is left out (its target is
// not known); give MeasureMove its command instead.
struct MoveSpan {
    size_t first = 0;
    size_t count = 0; // samples of the filtered capture (see CleanSamples)
    MoveCommand command;
};
// The capture with the samples left out that the figures leave out.
std::vector<ResponseSample> CleanSamples(std::span<const ResponseSample> samples);
std::vector<MoveSpan> SplitMoves(std::span<const ResponseSample> clean, double window);

// Mean and worst over a run's moves; a figure some moves lack is taken over
// those that have it, and `unsettled` counts the moves without a settling
// time. Worst is the largest value, for the final error the largest in size.
struct RunFigures {
    int moves = 0;
    int unsettled = 0;
    MoveFigures mean;
    MoveFigures worst;
};
RunFigures SummariseRun(std::span<const MoveFigures> moves);

// The overshoot as the unit mode shows lengths (0 as stored: counts, 1
// inches, 2 millimetres), through the axis's counts per millimetre.
float OvershootInUnits(const MoveFigures& figures, int axis, int unitMode);
