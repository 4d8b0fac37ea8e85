// The touch probe: at rest, nothing latched, unless the control interface
// says otherwise.
#include "board.h"

namespace {

constexpr int kProbeAxes = 4;
constexpr int kProbeLatches = 4;
constexpr int kProbeOptions = 2;

} // namespace

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

// A probe at rest (not deflected, not retracting, nothing latched) unless
// the control interface says otherwise.
int Board::GetProbeStatus(int board, uint8_t* status)
{
    if (!Ready(board))
        return 0;
    Put(status, probeStatus_);
    return 1;
}

int Board::RearmTouchProbe(int board) { return Ready(board) ? 1 : 0; }

int Board::GetTouchProbeLatchStatus(int board, uint8_t* status)
{
    if (!Ready(board))
        return 0;
    Put(status, 0);
    return 1;
}

int Board::GetTouchProbeLatch(int board, int latch, int32_t* first, uint16_t* flags, int32_t* second, uint8_t* status)
{
    if (!Ready(board) || latch < 0 || latch >= kProbeLatches)
        return 0;
    for (int a = 0; a < kProbeAxes; ++a) {
        Put(first ? first + a : nullptr, 0);
        Put(flags ? flags + a : nullptr, 0);
        Put(second ? second + a : nullptr, 0);
    }
    Put(status, 0);
    return 1;
}
