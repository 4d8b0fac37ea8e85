#include "core/lamp_commands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kBoxFullScale = 1000;
// The box's channel 7 drives a lamp that needs 2.5 times the level.
constexpr int kBoostedChannel = 7;
constexpr double kBoost = 2.5;

constexpr uint32_t kLuxLimitShift = 16;
constexpr uint32_t kLuxLimitMask = 0xFFu << kLuxLimitShift;
constexpr uint32_t kLuxModeBit = 1u << 24;

} // namespace

int LampBoxValue(int channel, int level)
{
    // A level beyond the scale would overflow the boosted channel's product.
    level = ClampLampLevel(level);
    const int boxLevel = channel == kBoostedChannel ? static_cast<int>(level * kBoost) : level;
    return static_cast<int>(std::floor(boxLevel * double(kBoxFullScale) / kLampMaxLevel + 0.5));
}

LampCommand LampLevelCommand(int channel, int level)
{
    LampCommand command{};
    std::snprintf(command.text, sizeof command.text, "$%dDO%05d\n", channel, LampBoxValue(channel, level));
    return command;
}

LampCommand LampSwitchCommand(int switchMask)
{
    LampCommand command{};
    std::snprintf(command.text, sizeof command.text, "$0QD%05d\n", switchMask);
    return command;
}

bool IsLampPowerUpAnswer(std::string_view bytes) { return bytes.substr(0, 3) == std::string_view("*1PU", 3); }

int LuxLimit(uint32_t param) { return static_cast<int>((param & kLuxLimitMask) >> kLuxLimitShift); }

bool LuxMode(uint32_t param) { return (param & kLuxModeBit) != 0; }

uint32_t WithLux(uint32_t param, int limit, bool mode)
{
    const auto clamped = static_cast<uint32_t>(std::clamp(limit, 0, kLuxMaxLimit));
    return (param & ~(kLuxLimitMask | kLuxModeBit)) | (clamped << kLuxLimitShift) | (mode ? kLuxModeBit : 0);
}

void FormatLuxCurrent(char* text, size_t size, int limit, int fullScaleMa)
{
    std::snprintf(text, size, "%gma", limit * 0.01 * fullScaleMa);
}
