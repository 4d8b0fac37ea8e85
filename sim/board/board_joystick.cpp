// The joystick: its three deflections on ADC channels 3..5, the velocity the
// board makes of them, its buttons and the per-axis setting bytes. An idle
// stick is centred with nothing pressed; a test or a machine description
// moves it along a script of readings.
#include "board.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kAdcChannels = 8;
constexpr int kJoystickFirstAdc = 3; // X, Y, Z deflections on channels 3..5
constexpr int kJoystickAdcAxes = 3;
constexpr int kJoystickAxes = 4;
constexpr uint16_t kAdcCentre = 512;

// The board's joystick parameters of X, Y, Z, Q: the rate word (coarse
// percent in bits 0..7, direction bit 16) and the ADC window.
struct JoystickParams {
    int rate, min, centre, max, deadband;
};
constexpr JoystickParams kJoystickParams[kJoystickAxes] = {
    {2, 35, 36, 37, 38}, {3, 39, 40, 41, 42}, {4, 43, 44, 45, 46}, {204, 206, 207, 208, 209}};
constexpr uint32_t kCoarseRate = 0xFF;
constexpr uint32_t kInvertDirection = 0x10000;

} // namespace

// The board's clock is not known at power-on: a described script starts at
// the first reading, so that whoever looks sees all of it.
void Board::PowerOnJoystick()
{
    fiveButtonJoystick_ = machine_.fiveButtonJoystick;
    for (int a = 0; a < kJoystickAdcAxes; ++a) {
        SetJoystickAdc(a, machine_.axes[a].joystickAdc, machine_.axes[a].joystickStepMs);
        joystickAdc_[a].startUs = kScriptNotStarted;
    }
}

void Board::StartJoystickScripts()
{
    for (JoystickScript& script : joystickAdc_)
        if (script.startUs == kScriptNotStarted)
            script.startUs = nowUs_;
}

void Board::SetJoystickAdc(int axis, std::vector<uint16_t> readings, uint32_t stepMs)
{
    if (axis >= 0 && axis < kJoystickAdcAxes)
        joystickAdc_[axis] = {std::move(readings), std::max<uint32_t>(stepMs, 1), nowUs_};
}

uint16_t Board::JoystickReading(int axis) const
{
    const JoystickScript& script = joystickAdc_[axis];
    if (script.readings.empty())
        return kAdcCentre;
    const uint64_t stepUs = uint64_t{script.stepMs} * 1000;
    const uint64_t elapsedUs = script.startUs == kScriptNotStarted ? 0 : nowUs_ - script.startUs;
    const uint64_t leg = elapsedUs / stepUs;
    if (leg + 1 >= script.readings.size())
        return script.readings.back();
    const double from = script.readings[leg];
    const double to = script.readings[leg + 1];
    const double fraction = static_cast<double>(elapsedUs % stepUs) / static_cast<double>(stepUs);
    return static_cast<uint16_t>(from + (to - from) * fraction + 0.5);
}

// Beyond the deadband the velocity grows in proportion to the deflection,
// up to the coarse rate at the calibrated end.
int8_t Board::JoystickVelocity(int axis) const
{
    if (axis >= kJoystickAdcAxes)
        return 0;
    const JoystickParams& p = kJoystickParams[axis];
    const double reading = JoystickReading(axis);
    const double centre = Param(p.centre);
    const double deadband = Param(p.deadband);
    const bool up = reading > centre;
    const double deflection = std::abs(reading - centre) - deadband;
    const double span = (up ? Param(p.max) - centre : centre - Param(p.min)) - deadband;
    if (deflection <= 0 || span <= 0)
        return 0;
    const double coarse = std::min<uint32_t>(Param(p.rate) & kCoarseRate, 127);
    double percent = coarse * std::min(deflection / span, 1.0);
    if (up == ((Param(p.rate) & kInvertDirection) != 0))
        percent = -percent;
    return static_cast<int8_t>(percent);
}

int Board::ReadAdc(int board, int channel, uint16_t* value)
{
    if (!Ready(board) || channel < 0 || channel >= kAdcChannels)
        return 0;
    StartJoystickScripts();
    const bool joystick = channel >= kJoystickFirstAdc && channel < kJoystickFirstAdc + kJoystickAdcAxes;
    Put(value, joystick ? JoystickReading(channel - kJoystickFirstAdc) : 0);
    return 1;
}

int Board::GetJoystickVelocity(int board, int axis, int8_t* percent)
{
    if (!Ready(board) || axis < 0 || axis >= kJoystickAxes)
        return 0;
    StartJoystickScripts();
    Put(percent, JoystickVelocity(axis));
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
