#include "core/param_table.h"

uint32_t g_param[kParamCount];
float g_resolution[kAxisCount];

int AxisMotorType(int axis)
{
    return static_cast<int>(g_param[AxisParam(kParamMotorType, axis)] & 7u);
}

void RecomputeScales()
{
    for (int a = 0; a < kAxisCount; ++a) {
        uint32_t countsPerMm = g_param[AxisParam(kParamCountsPerMm, a)];
        g_resolution[a] = countsPerMm == 0 ? 0.0f : 1.0f / static_cast<float>(countsPerMm);
    }
}

void ResetParamTable()
{
    for (uint32_t& p : g_param)
        p = 0;
    for (float& r : g_resolution)
        r = 0.0f;
}
