#include "params/goto_settings.h"

float g_velPercent[kAxisCount];
int32_t g_cmdVelPercent[kAxisCount];
bool g_joystickEnabled[kAxisCount];

void ResetGotoSettings()
{
    for (int a = 0; a < kAxisCount; ++a) {
        g_velPercent[a] = 0.0f;
        g_cmdVelPercent[a] = 0;
        g_joystickEnabled[a] = false;
    }
}
