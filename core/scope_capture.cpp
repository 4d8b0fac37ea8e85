#include "core/scope_capture.h"

#include <cstdio>

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

void FormatScopeValue(char* out, size_t size, double value, const ScopeChannel& channel)
{
    if (channel.quantity == ScopeQuantity::kMoveStatus)
        std::snprintf(out, size, "0x%02X", static_cast<unsigned>(static_cast<uint8_t>(value)));
    else
        std::snprintf(out, size, channel.unit.starts_with("in") ? "%.5f" : "%.4f", value);
}

std::string ScopeChannelName(const ScopeChannel& channel)
{
    std::string name = std::string(kScopeAxisNames[channel.axis]) + " " +
                       kScopeQuantityNames[static_cast<int>(channel.quantity)];
    if (!channel.unit.empty())
        name += " (" + channel.unit + ")";
    return name;
}
