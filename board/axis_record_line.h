#pragma once
// The per-tick data line of an axis that the traces of the goto windows, the
// main window's X trace and the zoom homing write: a label, the time since
// the trace started, the fifteen fields of AXB_GetAxisRecord (Target ..
// Status) and a sequence number.
#include <cstdint>

void LogAxisRecordLine(const char* label, int axis, int32_t elapsedMs, uint32_t sequence);
