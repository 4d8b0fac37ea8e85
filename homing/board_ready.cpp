#include "homing/board_ready.h"

uint32_t g_firmwareVersion;
uint16_t g_velScale = 1;

void SetFirmwareVersion(uint32_t version)
{
    g_firmwareVersion = version;
    g_velScale = version > kLastWholePercentFirmware ? 100 : 1;
}

void ResetBoardReadyState()
{
    g_firmwareVersion = 0;
    g_velScale = 1;
}
