#include "core/auto_home_state.h"

int8_t g_homingStage[kEncoderAxisCount];
int g_logAutoHomeStates;

void ResetAutoHomeState()
{
    for (int8_t& stage : g_homingStage)
        stage = 0;
    g_logAutoHomeStates = 0;
}
