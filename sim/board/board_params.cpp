// Parameters in RAM and flash, and the flash user area. Saved parameters
// and committed words survive a power cycle; everything else is RAM.
#include "board.h"

int Board::GetParam(int board, int number, uint32_t* value)
{
    if (!Ready(board) || number < 0 || number >= kParamCount)
        return 0;
    Put(value, params_[number]);
    return 1;
}

int Board::SetParam(int board, int number, uint32_t value)
{
    if (!Ready(board) || number < 0 || number >= kParamCount)
        return 0;
    if (!refusedParams_[number])
        params_[number] = value;
    return 1;
}

void Board::SetParamRefused(int number, bool refused)
{
    if (number >= 0 && number < kParamCount)
        refusedParams_[number] = refused;
}

int Board::SaveParamsToFlash(int board)
{
    if (!Ready(board))
        return 0;
    flash_.params = params_;
    Persist();
    return 1;
}

int Board::ReadFlashWord(int board, int index, uint32_t* word)
{
    if (!Ready(board) || index < 0 || index >= kFlashWordCount)
        return 0;
    Put(word, words_[index]);
    return 1;
}

int Board::WriteFlashWord(int board, int index, uint32_t word)
{
    if (!Ready(board) || index < 0 || index >= kFlashWordCount)
        return 0;
    words_[index] = word;
    return 1;
}

int Board::CommitFlashWords(int board)
{
    if (!Ready(board))
        return 0;
    flash_.words = words_;
    Persist();
    return 1;
}

// The flash's own health report: 0 everywhere on a flash that never
// failed, unless the control interface says otherwise.
int Board::GetFlashStatus(int board, int item, uint32_t* value)
{
    if (!Ready(board) || item < 0 || item >= kFlashStatusItems)
        return 0;
    Put(value, flashStatus_[item]);
    return 1;
}

void Board::SetFlashStatus(int item, uint32_t value)
{
    if (item >= 0 && item < kFlashStatusItems)
        flashStatus_[item] = value;
}
