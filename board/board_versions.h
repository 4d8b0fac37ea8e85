#pragma once
// The one reader of the board's versions: the start-up captions and log
// lines, the readiness check and the .par header all ask here.
#include <cstdint>

#include "core/version_text.h"

// Firmware, hardware, FPGA, serial number and driver library, in that order.
BoardVersions ReadBoardVersions();
// The firmware bytes as g_firmwareVersion holds them.
uint32_t ReadFirmwareVersion();
uint8_t ReadOeVersion();
