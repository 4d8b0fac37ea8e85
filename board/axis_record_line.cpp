#include "board/axis_record_line.h"

#include "driver/axb400.h"
#include "infra/log.h"

namespace {

constexpr int kRecordFields = 15;

} // namespace

void LogAxisRecordLine(const char* label, int axis, int32_t elapsedMs, uint32_t sequence)
{
    int32_t r[kRecordFields] = {};
    AXB_GetAxisRecord(0, axis, r);
    LogPrintf(g_log, "%s,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,0x%06X,0x%04X,%d\n", label, elapsedMs, r[0], r[1],
              r[2], r[3], r[4], r[5], r[6], r[7], r[8], r[9], r[10], r[11], r[12], r[13], r[14], sequence);
}
