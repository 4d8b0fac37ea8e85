// The eight general-purpose pins.
#include "board.h"

// The plug and the levels from outside belong to the machine, not to the
// board's start: a board reset keeps them.
void Board::PowerOnGpio()
{
    gpioLoopBack_ = machine_.gpioLoopBack;
    gpioInputs_ = machine_.gpioInputs;
    gpioFunctionStates_ = 0;
    PowerOnTurret();
}

int Board::SetGpio(int board, uint8_t directionMask, uint8_t levels)
{
    if (!Ready(board))
        return 0;
    const uint8_t stillOutputs = gpioDirection_ & directionMask;
    TurretSeesOutputs(gpioLevels_ & stillOutputs, levels & stillOutputs);
    gpioDirection_ = directionMask;
    gpioLevels_ = levels;
    return 1;
}

// Without the plug nothing leads an output back to its pin's input side.
int Board::GetGpio(int board, uint8_t* levels, uint8_t* functionStates)
{
    if (!Ready(board))
        return 0;
    const uint8_t looped = gpioLoopBack_ ? gpioDirection_ : 0;
    Put(levels, (gpioLevels_ & looped) | (TurretInputs(gpioInputs_) & ~looped));
    Put(functionStates, gpioFunctionStates_);
    return 1;
}
