#include "board/axis_record_line.h"

#include "core/axis_trace.h"
#include "driver/axb400.h"
#include "infra/log.h"

void LogAxisRecordLine(const char* label, int axis, int32_t elapsedMs, uint32_t sequence)
{
    int32_t record[kAxisRecordFields] = {};
    AXB_GetAxisRecord(0, axis, record);
    char line[256];
    FormatAxisTraceLine(line, sizeof line, label, static_cast<uint32_t>(elapsedMs), record, sequence);
    g_log.Write(line);
}
