// The joystick: its three deflections on ADC channels 3..5, its buttons and
// the per-axis setting bytes. An idle stick is centred with nothing pressed.
#include "board.h"

namespace {

constexpr int kAdcChannels = 8;
constexpr int kJoystickFirstAdc = 3; // X, Y, Z deflections on channels 3..5
constexpr int kJoystickAxes = 4;
constexpr uint16_t kAdcCentre = 512;

} // namespace

int Board::ReadAdc(int board, int channel, uint16_t* value)
{
    if (!Ready(board) || channel < 0 || channel >= kAdcChannels)
        return 0;
    const bool joystick = channel >= kJoystickFirstAdc && channel < kJoystickFirstAdc + 3;
    Put(value, joystick ? kAdcCentre : 0);
    return 1;
}

int Board::GetJoystickVelocity(int board, int axis, int8_t* percent)
{
    if (!Ready(board) || axis < 0 || axis >= kJoystickAxes)
        return 0;
    Put(percent, 0);
    return 1;
}

int Board::GetJoystickAxis(int board, int axis, uint8_t* a, uint8_t* b, uint8_t* c)
{
    if (!Ready(board) || axis < 0 || axis >= kJoystickAxes)
        return 0;
    const std::array<uint8_t, 3>& bytes = io_[axis].joystick;
    Put(a, bytes[0]);
    Put(b, bytes[1]);
    Put(c, bytes[2]);
    return 1;
}

int Board::SetJoystickAxis(int board, int axis, uint8_t a, uint8_t b, uint8_t c)
{
    if (!Ready(board) || axis < 0 || axis >= kJoystickAxes)
        return 0;
    io_[axis].joystick = {a, b, c};
    return 1;
}

int Board::GetJoystickButtons(int board, uint32_t* mode, uint8_t* functions, uint8_t* state)
{
    return GetJoyStickMode(board, mode, functions, state);
}

// The buttons held and the functions active as the control interface set
// them (none at power-on); bit 7 of the state tells a five-button joystick
// from a three-button one.
int Board::GetJoyStickMode(int board, uint32_t* mode, uint8_t* functions, uint8_t* state)
{
    if (!Ready(board))
        return 0;
    Put(mode, 0);
    Put(functions, joystickFunctions_);
    Put(state, static_cast<uint8_t>((joystickButtons_ & 0x7F) | (fiveButtonJoystick_ ? 0x80 : 0)));
    return 1;
}
