#include "core/auto_home_state.h"

int8_t g_homingStage[kEncoderAxisCount];
int g_logAutoHomeStates;
bool g_homingActive[kEncoderAxisCount];
bool g_homingAborted;
bool g_homeRefFound[kEncoderAxisCount];
int32_t g_ztrack_pos = kZTrackUnset;

void ResetAutoHomeState()
{
    for (int8_t& stage : g_homingStage)
        stage = 0;
    for (bool& active : g_homingActive)
        active = false;
    g_logAutoHomeStates = 0;
    g_homingAborted = false;
    for (bool& found : g_homeRefFound)
        found = false;
    g_ztrack_pos = kZTrackUnset;
}

namespace {
constexpr const char* kStageNames[] = {
    "HOMING_STAGE_INACTIVE",
    "HOMING_STAGE_SEEKING_HOME_LIMIT_IGNORE",
    "HOME_STAGE_SEEKING_HOME_FOUND_NONE",
    "HOME_STAGE_SEEKING_HOME_FOUND_ONE",
    "HOME_STAGE_SEEKING_END_FOUND_NONE",
    "HOME_STAGE_SEEKING_END_FOUND_ONE",
    "HOME_STAGE_Z_WAITING",
    "HOME_STAGE_RETURNING",
    "HOME_STAGE_IRRECOVERABLE_ERROR",
    "HOME_STAGE_CANCEL",
};
} // namespace

const char* HomingStageName(int stage)
{
    if (stage < 0 || stage >= static_cast<int>(sizeof kStageNames / sizeof kStageNames[0]))
        return "Unknown";
    return kStageNames[stage];
}

int32_t HomingVelocityPercent(float userPercent)
{
    if (userPercent == 0.0f)
        return 100;
    if (!(userPercent >= 1.0f))
        return 1;
    if (userPercent >= 65536.0f)
        return 0xFFFF;
    return static_cast<int32_t>(userPercent);
}
