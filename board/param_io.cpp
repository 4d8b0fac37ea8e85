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

namespace {

void WriteLoggedIfDifferent(int number)
{
    if (SetParamIfDifferent(number, g_param[number]))
        LogPrintf(g_log, "Setting param%d to %u\n", number, g_param[number]);
}

} // namespace

void WriteDifferingParams()
{
    for (int n = 0; n < kParamCount; ++n)
        WriteLoggedIfDifferent(n);
}

void StoreParam(int number, uint32_t value)
{
    g_param[number] = value;
    WriteLoggedIfDifferent(number);
}

void StoreParamUnlogged(int number, uint32_t value)
{
    g_param[number] = value;
    SetParamIfDifferent(number, value);
}
