#pragma once
// What every subsystem knows of the session: the axis and unit the
// technician selected, whether the board is there and which firmware
// generation it runs (one GUI thread, plain globals).
#include <cstdint>

#include "core/axes.h"

extern int g_boardPresent;    // ConnectBoard succeeded at the last initialisation
extern int g_unitMode;        // 0 As Stored, 1 inches, 2 millimetres
extern int g_radio_last;      // 0..4 for X, Y, Z, Q, Zoom
extern int g_zoomType;        // "ZoomType", low 8 bits; 5 is the zoom without home limit
extern int g_testerMode;      // "TavRosenTester", low 8 bits

inline constexpr int kUnitStored = 0;
inline constexpr int kUnitInch = 1;
inline constexpr int kUnitMm = 2;

extern uint32_t g_firmwareVersion;   // four version bytes, first byte highest
extern uint16_t g_velScale;          // multiplies every velocity percent sent to the board

// Firmware after 0x0002000A takes velocity percentages in hundredths.
inline constexpr uint32_t kLastWholePercentFirmware = 0x0002000A;

constexpr uint16_t VelScaleFor(uint32_t firmwareVersion)
{
    return firmwareVersion > kLastWholePercentFirmware ? 100 : 1;
}

// Until zoom.ini is read, and while its value is not a number, the percent
// is the file's default.
inline constexpr float kDefaultVelPercent = 100.0f;
extern float g_velPercent[kAxisCount];       // nominal velocity percent of each axis
extern int32_t g_cmdVelPercent[kAxisCount];  // the whole percent last sent to the board
extern bool g_joystickEnabled[kAxisCount];   // "Joystick Enabled" of zoom.ini
// "Enable Ref Mark Logging" of the Encoder dialog, per axis: the main timer
// logs every reference mark the axis latches.
extern uint8_t g_refMarkLogging[kAxisCount];
// "Display Param Number" of the main window: captions of the main window and
// of the axis dialogs carry parameter numbers.
extern bool g_displayParamNumber;

// g_firmwareVersion and the velocity scale that goes with it.
void SetFirmwareVersion(uint32_t version);

void ResetSessionState();
