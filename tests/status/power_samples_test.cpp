// The voltage history on its own: a ring of the last 100 readings per
// supply, started from the first reading.
#include "homing/power_samples.h"

#include <gtest/gtest.h>

namespace {

TEST(PowerSamples, AverageCoversExactlyTheLastHundredReadingsOfEachSupply)
{
    PowerSamples samples;
    samples.Add({24.0f, 5.0f, 5.0f});
    EXPECT_DOUBLE_EQ(samples.Average()[kPowerSupplyVoltage], 24.0);
    EXPECT_DOUBLE_EQ(samples.Average()[kInterpolatorVoltage], 5.0);

    for (int i = 1; i <= 250; ++i)
        samples.Add({static_cast<float>(i), 5.0f, -static_cast<float>(i)});
    // Readings 151..250 remain: their mean is 200.5.
    EXPECT_DOUBLE_EQ(samples.Average()[kPowerSupplyVoltage], 200.5);
    EXPECT_DOUBLE_EQ(samples.Average()[kEncoderVoltage], -200.5);
    EXPECT_DOUBLE_EQ(samples.Average()[kInterpolatorVoltage], 5.0);
    EXPECT_EQ(samples.Count(), 251u);
}

} // namespace
