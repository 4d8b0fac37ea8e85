#include "board/param_io.h"

#include "core/param_table.h"
#include "driver/axb400.h"
#include "infra/log.h"

void ReadAllParamsFromBoard()
{
    for (int n = 0; n < kParamCount; ++n)
        AXB_GetParam(0, n, &g_param[n]);
}

bool SetParamIfDifferent(int number, uint32_t value)
{
    uint32_t onBoard = 0;
    AXB_GetParam(0, number, &onBoard);
    if (onBoard == value)
        return false;
    AXB_SetParam(0, number, value);
    return true;
}

void WriteDifferingParams()
{
    for (int n = 0; n < kParamCount; ++n)
        if (SetParamIfDifferent(n, g_param[n]))
            LogPrintf(g_log, "Setting param%d to %u\n", n, g_param[n]);
}
