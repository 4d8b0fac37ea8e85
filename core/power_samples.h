#pragma once
// The Power dialog's voltage history: the last 100 readings of each supply,
// kept for the life of the process so that reopening the dialog continues
// the average where it stopped.
#include <array>
#include <cstdint>

enum PowerSupply { kPowerSupplyVoltage, kInterpolatorVoltage, kEncoderVoltage, kPowerSupplyCount };

inline constexpr int kPowerSampleCount = 100;

// Volts, one entry per PowerSupply.
using PowerReading = std::array<float, kPowerSupplyCount>;
using PowerAverage = std::array<double, kPowerSupplyCount>;

class PowerSamples {
public:
    // The very first reading fills every ring, so the average starts at the
    // first value instead of climbing up from zero.
    void Add(const PowerReading& reading);
    // Sum of each ring over kPowerSampleCount.
    PowerAverage Average() const;
    // Readings taken since start-up; wraps like the 32-bit counter it is.
    uint32_t Count() const { return count_; }

private:
    std::array<std::array<float, kPowerSampleCount>, kPowerSupplyCount> rings_{};
    uint32_t count_ = 0;
};

extern PowerSamples g_powerSamples;
