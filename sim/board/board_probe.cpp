// The touch probe. A hit (the control interface, or the description's
// periodic touch) is taken by latch 2 of the axes set to the probe's mode,
// held until the program re-arms, and followed by the board's retract, which
// the probe status shows while it lasts.
#include "board.h"

#include <cstdio>

namespace {

constexpr int kProbeAxes = 4;
constexpr int kProbeLatches = 4;
constexpr int kProbeOptions = 2;
constexpr int kProbeLatch = 2;
constexpr int32_t kProbeLatchMode = 6;
constexpr uint8_t kProbeOffFlag = 0x01;
constexpr uint8_t kHitHeld = 0x04;
constexpr uint16_t kAxisLatched = 0x0001;
constexpr uint8_t kDeflected = 0x02;
constexpr uint8_t kRetracting = 0x04;
constexpr uint8_t kRetractError = 0x08;
constexpr int kRetractDistance = 48;   // 0.01 mm
constexpr int kRetractVelocity = 15;   // 0.01 % of X's P061
constexpr int kVelocityX = 61;

} // namespace

bool Board::TouchProbe() { return LatchProbeHit(nowUs_); }

// The positions are those of the moment of the hit, which a periodic touch
// may have passed a little before the call that notices it.
bool Board::LatchProbeHit(uint64_t atUs)
{
    if ((probeFlags_ & kProbeOffFlag) || (probeLatch_.status & kHitHeld))
        return false;
    probeLatch_ = ProbeLatch{};
    probeLatch_.status = kHitHeld;
    for (int a = 0; a < kProbeAxes; ++a) {
        if (io_[a].latchMode[kProbeLatch] != kProbeLatchMode)
            continue;
        const double nominal = axes_[a].Nominal(atUs).position;
        probeLatch_.first[a] = axes_[a].Count(HasEncoder(a) ? axes_[a].Actual(atUs) : nominal);
        probeLatch_.second[a] = axes_[a].Count(nominal);
        probeLatch_.flags[a] = kAxisLatched;
    }
    const double distanceMm = Param(kRetractDistance) * 0.01;
    const double xVelocity = Param(kVelocityX) / (UsesCentiPercent(versions_.firmware) ? 10.0 : 1.0);
    const double speedMmPerS = xVelocity * Param(kRetractVelocity) * 0.0001;
    probeRetractError_ = distanceMm > 0 && speedMmPerS <= 0;
    probeRetractEndUs_ = probeRetractError_ ? atUs : atUs + static_cast<uint64_t>(distanceMm / speedMmPerS * 1e6);
    char text[128];
    std::snprintf(text, sizeof text, "touch probe hit, X..Q %d %d %d %d", probeLatch_.first[0], probeLatch_.first[1],
                  probeLatch_.first[2], probeLatch_.first[3]);
    Note(text, atUs);
    return true;
}

// The description's touch at every multiple of its period: the first one
// since the last look is the one the latch can take.
void Board::ScanProbeHits()
{
    const uint64_t periodUs = uint64_t{machine_.probeHitEveryMs} * 1000;
    if (periodUs > 0 && nowUs_ > probeScannedUs_) {
        const uint64_t nextUs = (probeScannedUs_ / periodUs + 1) * periodUs;
        if (nextUs <= nowUs_)
            LatchProbeHit(nextUs);
    }
    probeScannedUs_ = nowUs_;
}

uint8_t Board::ProbeStatus() const
{
    uint8_t status = probeStatus_;
    if (probeRetractError_)
        status |= kDeflected | kRetractError;
    else if (nowUs_ < probeRetractEndUs_)
        status |= kDeflected | kRetracting;
    return status;
}

int Board::SetTouchProbe(int board, uint8_t flags)
{
    if (!Ready(board))
        return 0;
    probeFlags_ = flags;
    return 1;
}

int Board::SetProbeOption(int board, int option, int value)
{
    if (!Ready(board) || option < 0 || option >= kProbeOptions)
        return 0;
    probeOption_[option] = value;
    return 1;
}

int Board::GetProbeStatus(int board, uint8_t* status)
{
    if (!Ready(board))
        return 0;
    Put(status, ProbeStatus());
    return 1;
}

// The retract error is the board's until the probe is armed again.
int Board::RearmTouchProbe(int board)
{
    if (!Ready(board))
        return 0;
    probeLatch_.status = 0;
    probeRetractError_ = false;
    return 1;
}

int Board::GetTouchProbeLatchStatus(int board, uint8_t* status)
{
    if (!Ready(board))
        return 0;
    Put(status, probeLatch_.status);
    return 1;
}

int Board::GetTouchProbeLatch(int board, int latch, int32_t* first, uint16_t* flags, int32_t* second, uint8_t* status)
{
    if (!Ready(board) || latch < 0 || latch >= kProbeLatches)
        return 0;
    const bool probe = latch == kProbeLatch;
    for (int a = 0; a < kProbeAxes; ++a) {
        Put(first ? first + a : nullptr, probe ? probeLatch_.first[a] : 0);
        Put(flags ? flags + a : nullptr, probe ? probeLatch_.flags[a] : 0);
        Put(second ? second + a : nullptr, probe ? probeLatch_.second[a] : 0);
    }
    Put(status, probe ? probeLatch_.status : 0);
    return 1;
}
