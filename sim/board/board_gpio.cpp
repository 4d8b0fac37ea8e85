// The eight general-purpose pins.
#include "board.h"

int Board::SetGpio(int board, uint8_t directionMask, uint8_t levels)
{
    if (!Ready(board))
        return 0;
    gpioDirection_ = directionMask;
    gpioLevels_ = levels;
    return 1;
}

// Output pins read back their level; unconnected inputs read low.
int Board::GetGpio(int board, uint8_t* levels, uint8_t* functionStates)
{
    if (!Ready(board))
        return 0;
    Put(levels, gpioLevels_ & gpioDirection_);
    Put(functionStates, 0);
    return 1;
}
