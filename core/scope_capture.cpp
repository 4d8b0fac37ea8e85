#include "core/scope_capture.h"

std::string ScopeUnitText(ScopeQuantity quantity, bool inch)
{
    switch (quantity) {
    case ScopeQuantity::kPosition:
    case ScopeQuantity::kFollowingError:
        return inch ? "in" : "mm";
    case ScopeQuantity::kVelocity:
        return inch ? "in/s" : "mm/s";
    case ScopeQuantity::kMoveStatus:
        break;
    }
    return "";
}

double ScopeChannelValue(ScopeQuantity quantity, const ScopeAxisReading& reading, double lengthPerCount)
{
    switch (quantity) {
    case ScopeQuantity::kPosition:
        return reading.position * lengthPerCount;
    case ScopeQuantity::kFollowingError:
        return reading.lag * lengthPerCount;
    case ScopeQuantity::kVelocity:
        return reading.velocity * lengthPerCount;
    case ScopeQuantity::kMoveStatus:
        break;
    }
    return reading.moveStatus;
}

uint32_t ScopeAxesRead(const std::vector<ScopeChannel>& channels)
{
    uint32_t mask = 0;
    for (const ScopeChannel& channel : channels)
        mask |= AxisBit(channel.axis);
    return mask;
}
