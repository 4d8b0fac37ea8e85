#include "core/velocity_word.h"

#include <cmath>

uint16_t SaturatedVelocityWord(double value)
{
    if (!(value > 0.0))
        return 0;
    if (value >= kMaxVelocityWord)
        return kMaxVelocityWord;
    return static_cast<uint16_t>(value);
}

uint16_t RoundedVelocityWord(uint16_t velScale, float percent)
{
    const float product = static_cast<float>(velScale) * percent;
    return SaturatedVelocityWord(std::floor(static_cast<double>(product) + 0.5));
}

uint16_t WholePercentVelocityWord(int32_t percent, uint16_t velScale)
{
    return SaturatedVelocityWord(static_cast<double>(percent) * velScale);
}
