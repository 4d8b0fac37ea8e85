#include "lamp/lamp_channels.h"

#include "board/fences.h"
#include "board/axis_commands.h"
#include "core/external_outputs.h"
#include "core/unit_conversion.h"
#include "driver/axb400.h"
#include "infra/log.h"
#include "infra/settings.h"
#include "lamp/lamp_box.h"

namespace {
constexpr uint8_t kAllSwitchesOn = 15;
} // namespace

uint16_t g_lampLevel[kLampChannelCount];
uint8_t g_quadMask = kAllSwitchesOn;
int g_lampChannelCount = kBoardLampChannelCount;

namespace {

// "ZTracQMaxDistance" in mm, read while it is 0.
float g_ztrackMaxDistance;

void SetBoardLamp(int channel, int level)
{
    AXB_SetLampLevel(0, channel, static_cast<uint16_t>(level));
    const auto bit = static_cast<uint8_t>(1u << channel);
    g_lampMask = level != 0 ? (g_lampMask | bit) : (g_lampMask & ~bit);
    AXB_SetExternIO(0, g_externalOutput, g_lampMask);
}

void MoveZTrack(int level)
{
    const int32_t counts = ZTrackCounts(level);
    if (g_homeRefFound[kZTrackAxis]) {
        const int32_t target = UserToRawCounts(kZTrackAxis, counts);
        GotoTarget(kZTrackAxis, target);
        LogPrintf(g_log, "KRV_SetAxisPosAbs (0,3,%d)\n", target);
    } else {
        g_log.Write("Auto home not complete on Q\n");
    }
    g_ztrack_pos = counts;
}

} // namespace

void SetLampValue(int channel, int level)
{
    if (g_lampBoxActive)
        SetLampRS232Level(channel, level);
    else if (channel == kZTrackChannel && g_lampChannelCount == kZTrackChannelCount)
        MoveZTrack(level);
    // Channels 8 and 9 of a serial box that cannot be reached go nowhere:
    // the board has eight lamp outputs, and Q must not follow them.
    else if (channel < kBoardLampChannelCount)
        SetBoardLamp(channel, level);
}

int32_t ZTrackCounts(int level)
{
    if (g_ztrackMaxDistance == 0.0f)
        g_ztrackMaxDistance = static_cast<float>(GetSettingDouble(L"Lights", L"ZTracQMaxDistance"));
    return TargetMmToCounts(static_cast<float>(level) * g_ztrackMaxDistance / 255.0f, kZTrackAxis);
}

void SetLaser(bool on)
{
    g_externalOutput = ExternalOutputWithLaser(on);
    AXB_SetExternIO(0, g_externalOutput, g_lampMask);
}

bool IsLaserOn() { return (g_externalOutput & kLaserBit) != 0; }

uint8_t ExternalOutputWithLaser(bool on)
{
    return on ? (g_externalOutput | kLaserBit) : (g_externalOutput & ~kLaserBit);
}

void ResetLampChannels()
{
    for (uint16_t& level : g_lampLevel)
        level = 0;
    g_quadMask = kAllSwitchesOn;
    g_lampChannelCount = kBoardLampChannelCount;
    g_ztrack_pos = kZTrackUnset;
    g_ztrackMaxDistance = 0.0f;
}
