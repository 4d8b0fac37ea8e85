#include "board/param_io.h"

#include "core/param_table.h"
#include "driver/axb400.h"
#include "infra/log.h"

#include <bitset>

namespace {

std::bitset<kParamCount> g_kept;
uint32_t g_keptValue[kParamCount];

} // namespace

void ReadAllParamsFromBoard()
{
    for (int n = 0; n < kParamCount; ++n)
        AXB_GetParam(0, n, &g_param[n]);
    g_kept.reset();
}

bool SetParamIfDifferent(int number, uint32_t value)
{
    uint32_t onBoard = 0;
    AXB_GetParam(0, number, &onBoard);
    if (onBoard == value) {
        g_kept.reset(number);
        return false;
    }
    WriteParamReadBack(number, value);
    return true;
}

void WriteParamReadBack(int number, uint32_t value)
{
    AXB_SetParam(0, number, value);
    uint32_t kept = value;
    AXB_GetParam(0, number, &kept);
    g_kept.set(number, kept != value);
    if (kept == value)
        return;
    g_keptValue[number] = kept;
    LogPrintf(g_log, "Board kept P%03d at %d, not %d\n", number, static_cast<int32_t>(kept), static_cast<int32_t>(value));
}

std::optional<uint32_t> BoardKeptParam(int number)
{
    if (number < 0 || number >= kParamCount || !g_kept.test(number))
        return std::nullopt;
    return g_keptValue[number];
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

void ResetParamIo() { g_kept.reset(); }
