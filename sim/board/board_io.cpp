// Outputs, lamps, GPIO, joystick and touch probe: the board
// remembers what the program sets and answers with an idle machine (stick
// centred, no buttons, probe at rest).
#include "board.h"

namespace {

constexpr int kAdcChannels = 8;
constexpr int kJoystickFirstAdc = 3; // X, Y, Z deflections on channels 3..5
constexpr int kJoystickAxes = 4;
constexpr uint16_t kAdcCentre = 512;
constexpr int kProbeAxes = 4;
constexpr int kProbeLatches = 4;
constexpr int kProbeOptions = 2;

} // namespace

int Board::SetExternIO(int board, uint8_t outputs, uint8_t lampMask)
{
    if (!Ready(board))
        return 0;
    externOutputs_ = outputs;
    lampMask_ = lampMask;
    return 1;
}

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

int Board::SetLampLevel(int board, int channel, uint16_t level)
{
    if (!Ready(board) || channel < 0 || channel >= static_cast<int>(lampLevels_.size()))
        return 0;
    lampLevels_[channel] = level;
    return 1;
}

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

// A joystick with nothing pressed and no function active; bit 7 of the
// state tells a five-button joystick from a three-button one.
int Board::GetJoyStickMode(int board, uint32_t* mode, uint8_t* functions, uint8_t* state)
{
    if (!Ready(board))
        return 0;
    Put(mode, 0);
    Put(functions, 0);
    Put(state, fiveButtonJoystick_ ? 0x80 : 0);
    return 1;
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
