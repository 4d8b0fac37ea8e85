#include "core/session_state.h"

int g_boardPresent;
int g_unitMode;
int g_radio_last;
int g_zoomType;
int g_testerMode;
uint32_t g_firmwareVersion;
uint16_t g_velScale = 1;

void SetFirmwareVersion(uint32_t version)
{
    g_firmwareVersion = version;
    g_velScale = VelScaleFor(version);
}

void ResetSessionState()
{
    g_boardPresent = 0;
    g_unitMode = 0;
    g_radio_last = 0;
    g_zoomType = 0;
    g_testerMode = 0;
    SetFirmwareVersion(0);
}
