#include "core/session_state.h"

int g_boardPresent;
int g_unitMode;
int g_radio_last;
int g_zoomType;
int g_testerMode;
uint32_t g_firmwareVersion;
uint16_t g_velScale = 1;
float g_velPercent[kAxisCount] = {kDefaultVelPercent, kDefaultVelPercent, kDefaultVelPercent, kDefaultVelPercent,
                                  kDefaultVelPercent};
int32_t g_cmdVelPercent[kAxisCount];
bool g_joystickEnabled[kAxisCount];
uint8_t g_refMarkLogging[kAxisCount];
bool g_displayParamNumber;

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
    for (int a = 0; a < kAxisCount; ++a) {
        g_velPercent[a] = kDefaultVelPercent;
        g_cmdVelPercent[a] = 0;
        g_joystickEnabled[a] = false;
        g_refMarkLogging[a] = 0;
    }
    g_displayParamNumber = false;
}
