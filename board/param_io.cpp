#include "board/param_io.h"

#include "core/param_table.h"
#include "driver/axb400.h"
#include "infra/log.h"

#include <algorithm>
#include <bitset>
#include <iterator>

namespace {

// What the board was last seen to hold: read, or read back after a write.
uint32_t g_boardParam[kParamCount];
std::bitset<kParamCount> g_kept;

} // namespace

void ReadAllParamsFromBoard()
{
    for (int n = 0; n < kParamCount; ++n)
        AXB_GetParam(0, n, &g_param[n]);
    std::copy(std::begin(g_param), std::end(g_param), std::begin(g_boardParam));
    g_kept.reset();
}

bool SetParamIfDifferent(int number, uint32_t value)
{
    uint32_t onBoard = 0;
    AXB_GetParam(0, number, &onBoard);
    g_boardParam[number] = onBoard;
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
    g_boardParam[number] = kept;
    g_kept.set(number, kept != value);
    if (kept == value)
        return;
    LogPrintf(g_log, "Board kept P%03d at %d, not %d\n", number, static_cast<int32_t>(kept), static_cast<int32_t>(value));
}

bool BoardKeptOtherValue(int number) { return number >= 0 && number < kParamCount && g_kept.test(number); }

uint32_t KnownBoardParam(int number) { return g_boardParam[number]; }

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

void ResetParamIo()
{
    std::fill(std::begin(g_boardParam), std::end(g_boardParam), 0u);
    g_kept.reset();
}
