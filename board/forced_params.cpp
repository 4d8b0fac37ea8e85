#include "board/forced_params.h"

#include "board/param_io.h"
#include "core/param_table.h"
#include "driver/axb400.h"

void ApplyForcedParams(bool dontKillLamps)
{
    for (const ForcedParam& forced : kForcedParams) {
        uint32_t& held = g_param[forced.number];
        if (held == forced.value)
            continue;
        if (forced.onlyWhileZero && held != 0)
            continue;
        if (dontKillLamps && forced.number >= kParamFirstLamp && forced.number <= kParamLastLamp)
            continue;
        held = forced.value;
        SetParamIfDifferent(forced.number, forced.value);
    }
}
