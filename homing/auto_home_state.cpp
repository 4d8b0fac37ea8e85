#include "homing/auto_home_state.h"

int8_t g_homingStage[kHomingAxisCount];
int g_logAutoHomeStates;

void ResetAutoHomeState()
{
    for (int8_t& stage : g_homingStage)
        stage = 0;
    g_logAutoHomeStates = 0;
}
