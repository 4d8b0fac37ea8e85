// An Olympus objective turret wired to the GPIO pins: it shows its position
// as a code on pins 2..4 and turns one position for each falling edge on one
// of its two step pins, 0x40 forward and 0x80 back.
#include "board.h"

namespace {

constexpr int kPositions = 5;
constexpr uint8_t kCodePins = 0x1C;
constexpr uint8_t kTurning = 0x1C;
constexpr uint8_t kStepOn = 0x40;
constexpr uint8_t kStepBack = 0x80;
// Index: position - 1.
constexpr uint8_t kPositionCodes[kPositions] = {0x0C, 0x14, 0x04, 0x18, 0x08};

bool FellLow(uint8_t before, uint8_t after, uint8_t pin) { return (before & pin) && !(after & pin); }

} // namespace

void Board::SetTurret(bool fitted, uint32_t turnMs, int position)
{
    turretFitted_ = fitted;
    turretTurnUs_ = uint64_t{turnMs} * 1000;
    turretPosition_ = position >= 1 && position <= kPositions ? position : 1;
    turretStep_ = 0;
}

void Board::PowerOnTurret() { SetTurret(machine_.turret, machine_.turretTurnMs, machine_.turretPosition); }

void Board::TurretSeesOutputs(uint8_t before, uint8_t after)
{
    if (!turretFitted_)
        return;
    TurretInputs(0); // a step that ended meanwhile has arrived
    if (turretStep_ != 0)
        return;
    if (FellLow(before, after, kStepOn))
        turretStep_ = 1;
    else if (FellLow(before, after, kStepBack))
        turretStep_ = -1;
    else
        return;
    turretTurnedAtUs_ = nowUs_ + turretTurnUs_;
}

uint8_t Board::TurretInputs(uint8_t outside)
{
    if (!turretFitted_)
        return outside;
    if (turretStep_ != 0 && nowUs_ >= turretTurnedAtUs_) {
        turretPosition_ = (turretPosition_ - 1 + turretStep_ + kPositions) % kPositions + 1;
        turretStep_ = 0;
    }
    const uint8_t code = turretStep_ != 0 ? kTurning : kPositionCodes[turretPosition_ - 1];
    return static_cast<uint8_t>((outside & ~kCodePins) | code);
}
