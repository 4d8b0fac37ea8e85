// Outputs and lamps: the board remembers what the program sets.
#include "board.h"

int Board::SetExternIO(int board, uint8_t outputs, uint8_t lampMask)
{
    if (!Ready(board))
        return 0;
    externOutputs_ = outputs;
    lampMask_ = lampMask;
    return 1;
}

int Board::SetLampLevel(int board, int channel, uint16_t level)
{
    if (!Ready(board) || channel < 0 || channel >= static_cast<int>(lampLevels_.size()))
        return 0;
    lampLevels_[channel] = level;
    return 1;
}
