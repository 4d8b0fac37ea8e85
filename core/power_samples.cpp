#include "core/power_samples.h"

PowerSamples g_powerSamples;

void PowerSamples::Add(const PowerReading& reading)
{
    const uint32_t slot = count_ % kPowerSampleCount;
    for (int s = 0; s < kPowerSupplyCount; ++s) {
        if (count_ == 0)
            rings_[s].fill(reading[s]);
        else
            rings_[s][slot] = reading[s];
    }
    ++count_;
}

PowerAverage PowerSamples::Average() const
{
    PowerAverage average{};
    for (int s = 0; s < kPowerSupplyCount; ++s) {
        double sum = 0;
        for (float sample : rings_[s])
            sum += sample;
        average[s] = sum / kPowerSampleCount;
    }
    return average;
}
