// Supply voltages and motor currents: what a healthy machine reads, with
// the ripple a real measurement has, unless the control interface fixes a
// reading.
#include "board.h"

#include <algorithm>
#include <cmath>

namespace {

// A healthy 24 V supply: tenths of a volt for the supply and the
// interpolators, hundredths for the encoder supply; noise in the same units.
constexpr uint16_t kSupplyDeciVolts = 241;
constexpr uint16_t kInterpolatorDeciVolts = 50;
constexpr uint16_t kEncoderCentiVolts = 505;
constexpr uint16_t kDeciVoltNoise = 1;
constexpr uint16_t kCentiVoltNoise = 2;
// Every power-on produces the same ripple, so a trace can be replayed.
constexpr uint32_t kNoiseSeed = 0x2545F491;

// xorshift32: cheap and good enough for measurement noise.
uint32_t NextNoise(uint32_t& state)
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

} // namespace

void Board::PowerOnSupplies()
{
    supplies_[kPowerSupply] = {kSupplyDeciVolts, kDeciVoltNoise};
    supplies_[kInterpolatorSupply] = {kInterpolatorDeciVolts, kDeciVoltNoise};
    supplies_[kEncoderSupply] = {kEncoderCentiVolts, kCentiVoltNoise};
    noiseState_ = kNoiseSeed;
}

uint16_t Board::ReadSupply(Supply supply)
{
    const SupplyReading reading = supplies_[supply];
    if (reading.noise == 0)
        return reading.nominal;
    const int span = 2 * reading.noise + 1;
    const int offset = static_cast<int>(NextNoise(noiseState_) % static_cast<uint32_t>(span)) - reading.noise;
    return static_cast<uint16_t>(std::clamp(reading.nominal + offset, 0, 0xFFFF));
}

int Board::GetEncoderVoltage(int board, uint16_t* voltage)
{
    if (!Ready(board))
        return 0;
    Put(voltage, ReadSupply(kEncoderSupply));
    return 1;
}

int Board::GetSupplyVoltage(int board, uint16_t* voltage)
{
    if (!Ready(board))
        return 0;
    Put(voltage, ReadSupply(kPowerSupply));
    return 1;
}

int Board::GetInterpolatorVoltage(int board, uint16_t* voltage)
{
    if (!Ready(board))
        return 0;
    Put(voltage, ReadSupply(kInterpolatorSupply));
    return 1;
}

// Hundredths of a milliamp: the holding current at rest, more while the
// axis accelerates and runs, never above the current limit P067.
uint32_t Board::DrawnCurrent(int axis) const
{
    if (MotorType(axis) == 0)
        return 0;
    const MotionState s = axes_[axis].Nominal(nowUs_);
    const double limit = Param(AxisParam(67, axis));
    const double holding = limit * std::min<uint32_t>(Param(AxisParam(78, axis)), 100) / 100;
    const double vmax = MaxVelocity(axis);
    const double milliamps = holding + 0.5 * limit * std::fabs(s.acceleration) / Acceleration(axis) +
                             (vmax > 0 ? 0.1 * limit * std::fabs(s.velocity) / vmax : 0.0);
    return static_cast<uint32_t>(std::lround(std::min(milliamps, limit) * 100));
}

int Board::GetMotorCurrent(int board, int axis, uint32_t* current)
{
    if (!ValidAxis(board, axis))
        return 0;
    Put(current, io_[axis].motorCurrent.value_or(DrawnCurrent(axis)));
    return 1;
}

void Board::SetSupplyVoltage(int supply, uint16_t nominal, uint16_t noise)
{
    if (supply >= 0 && supply < kSupplyCount)
        supplies_[supply] = {nominal, noise};
}

void Board::SetMotorCurrent(int axis, std::optional<uint32_t> current)
{
    if (axis >= 0 && axis < kAxisCount)
        io_[axis].motorCurrent = current;
}
