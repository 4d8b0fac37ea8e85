#include "app/forced_params.h"

#include "driver/axb400.h"
#include "params/param_table.h"

void ApplyForcedParams(bool dontKillLamps)
{
    for (const ForcedParam& forced : kForcedParams) {
        uint32_t& held = g_param[forced.number];
        if (held == forced.value)
            continue;
        if (forced.onlyWhileZero && held != 0)
            continue;
        if (dontKillLamps && forced.number >= kFirstLampParam && forced.number <= kLastLampParam)
            continue;
        held = forced.value;
        uint32_t onBoard = 0;
        AXB_GetParam(0, forced.number, &onBoard);
        if (onBoard != forced.value)
            AXB_SetParam(0, forced.number, forced.value);
    }
}
