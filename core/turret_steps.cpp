#include "core/turret_steps.h"

#include <cstdio>

namespace {

struct PositionCode {
    uint8_t inputs;
    int position;
};
constexpr PositionCode kPositionCodes[] = {
    {0x0C, 1}, {0x14, 2}, {0x04, 3}, {0x18, 4}, {0x08, 5},
};

} // namespace

int TurretPositionFromInputs(uint8_t inputs)
{
    for (const PositionCode& code : kPositionCodes)
        if (code.inputs == (inputs & kTurretInputMask))
            return code.position;
    return kNoTurretPosition;
}

bool TurretStepsForward(int pos, int target)
{
    constexpr int kHalfWay = 2;
    if (pos < target)
        return target - pos <= kHalfWay;
    return pos - target > kHalfWay;
}

OlympusCommand OlympusGotoCommand(int n)
{
    OlympusCommand command{};
    std::snprintf(command.text, sizeof command.text, "OB%d\r\n", n);
    return command;
}

OlympusReply ClassifyOlympusReply(std::string_view bytes)
{
    if (!bytes.starts_with("OB"))
        return OlympusReply::None;
    return bytes.size() > 2 && bytes[2] == '!' ? OlympusReply::Error : OlympusReply::Ok;
}
