#include "core/user_lengths.h"

#include "core/session_state.h"
#include "core/unit_conversion.h"

float CountsAsUserLength(int32_t counts, float resolution, int unitMode)
{
    const float mm = static_cast<float>(counts) * resolution;
    return unitMode == kUnitInch ? mm / kMmPerInchF : mm;
}

int32_t UserLengthAsCounts(double value, uint32_t countsPerMm, int unitMode)
{
    if (unitMode == kUnitStored)
        return Nearest(value);
    const double mm = unitMode == kUnitInch ? value * kMmPerInch : value;
    return RoundHalfAway(static_cast<double>(countsPerMm) * mm);
}
