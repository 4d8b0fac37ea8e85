#pragma once
// The operations of the board maker's library AXB400.dll that stagetune calls.
//
// The program binds the library by ordinal (see AXB400.def), so these names
// only have to match our own import library. Every operation returns an int;
// nonzero means the driver accepted the call. Values come back through
// out-parameters. All operations except AXB_OpenDrv, AXB_CloseDrv and
// AXB_GetDllVersion take the board index first, always 0 here. Axes are
// 0..4 (X, Y, Z, Q, Zoom); an axis mask has bit a for axis a.
#include <cstdint>

#define AXBAPI __stdcall

extern "C" {

// Connection and versions
int AXBAPI AXB_OpenDrv();
int AXBAPI AXB_CloseDrv();
int AXBAPI AXB_GetDllVersion(uint8_t* b1, uint8_t* b2, uint8_t* b3, uint8_t* b4);
int AXBAPI AXB_ResetBoard(int board);
int AXBAPI AXB_GetHardwareVersion(int board, uint32_t* version);
int AXBAPI AXB_GetFirmwareVersion(int board, uint8_t* b1, uint8_t* b2, uint8_t* b3, uint8_t* b4);
int AXBAPI AXB_GetFpgaVersion(int board, uint32_t* version);
int AXBAPI AXB_GetSerialNumber(int board, uint32_t* serial);
int AXBAPI AXB_GetOeVersion(int board, uint8_t* version);
int AXBAPI AXB_GetBoardType(int board, uint32_t* type);
int AXBAPI AXB_ReadStartupWord(int board, uint32_t* value);
int AXBAPI AXB_SetStartupValue(int board, uint32_t value);

// Parameters and flash
int AXBAPI AXB_GetParam(int board, int number, uint32_t* value);
int AXBAPI AXB_SetParam(int board, int number, uint32_t value);
int AXBAPI AXB_SaveParamsToFlash(int board);
int AXBAPI AXB_ReadFlashWord(int board, int index, uint32_t* word);
int AXBAPI AXB_WriteFlashWord(int board, int index, uint32_t word);
int AXBAPI AXB_CommitFlashWords(int board);
int AXBAPI AXB_GetFlashStatus(int board, int item, uint32_t* value);

// Position and status
int AXBAPI AXB_GetAxisPosValue(int board, int axis, int32_t* position);
int AXBAPI AXB_GetLatchReg(int board, int axis, int latch, int32_t* count);
int AXBAPI AXB_GetFollowingError(int board, int axis, int32_t* lag);
int AXBAPI AXB_GetMoveStatus(int board, int axis, uint8_t* moveStatus, uint8_t* errorByte);
int AXBAPI AXB_GetAxisStatus(int board, int axis, uint16_t* status);
int AXBAPI AXB_GetSystemStatus(int board, uint32_t* status);
int AXBAPI AXB_ReadStatusWord(int board, uint32_t* word);
// record: 15 fields Target, Actual, Nominal, Lag, V-Soll, V-Ist, Part-V,
// Part-P, Part-I, Part-D, Base, PID, R-Cnt, Flags, Status.
int AXBAPI AXB_GetAxisRecord(int board, int axis, int32_t* record);
int AXBAPI AXB_GetMotorCurrent(int board, int axis, uint32_t* current);
int AXBAPI AXB_GetEncoderVoltage(int board, uint16_t* voltage);
int AXBAPI AXB_GetSupplyVoltage(int board, uint16_t* voltage);
int AXBAPI AXB_GetInterpolatorVoltage(int board, uint16_t* voltage);
int AXBAPI AXB_ResetAxisError(int board, int axis, int code);
int AXBAPI AXB_ClearEncoderErrors(int board, uint8_t axisMask);
int AXBAPI AXB_ClearCount(int board, uint8_t axisMask);

// Motion. Velocities are a percentage, multiplied by 100 on firmware
// 0x0002000B and later (and always for the circular move).
int AXBAPI AXB_SetAxisPosAbs(int board, int axis, int32_t target);
int AXBAPI AXB_SetAxisPosLin(int board, int32_t x, int32_t y, int32_t z, int32_t q, uint16_t velocity);
int AXBAPI AXB_SetAxisPosCircle(int board, int32_t radius, double startDeg, double sweepDeg, int32_t feed,
                                uint16_t velocity, double pitchDeg, double yawDeg);
int AXBAPI AXB_SeekHome(int board, int axis);
int AXBAPI AXB_StopAxis(int board, int axis);
int AXBAPI AXB_SetVelocityPercent(int board, int axis, uint16_t velocity);

// Latches and axis registers
int AXBAPI AXB_SetLatchMode(int board, int axis, int latch, int mode);
int AXBAPI AXB_GetLatchMode(int board, int axis, int latch, int32_t* mode);
int AXBAPI AXB_ClearLatchStatus(int board, uint8_t axisMask);
int AXBAPI AXB_SetAxisReg(int board, int axis, int reg, uint16_t value);
int AXBAPI AXB_GetAxisReg(int board, int axis, int reg, uint16_t* value);

// I/O and peripherals
int AXBAPI AXB_SetExternIO(int board, uint8_t outputs, uint8_t lampMask);
int AXBAPI AXB_SetGpio(int board, uint8_t directionMask, uint8_t levels);
int AXBAPI AXB_GetGpio(int board, uint8_t* levels, uint8_t* functionStates);
int AXBAPI AXB_SetLampLevel(int board, int channel, uint16_t level);
int AXBAPI AXB_ReadAdc(int board, int channel, uint16_t* value);
int AXBAPI AXB_GetJoystickVelocity(int board, int axis, int8_t* percent);
int AXBAPI AXB_GetJoystickAxis(int board, int axis, uint8_t* a, uint8_t* b, uint8_t* c);
int AXBAPI AXB_SetJoystickAxis(int board, int axis, uint8_t a, uint8_t b, uint8_t c);
int AXBAPI AXB_GetJoystickButtons(int board, uint32_t* mode, uint8_t* functions, uint8_t* state);
int AXBAPI AXB_GetJoyStickMode(int board, uint32_t* mode, uint8_t* functions, uint8_t* state);
int AXBAPI AXB_SetTouchProbe(int board, uint8_t flags);
int AXBAPI AXB_SetProbeOption(int board, int option, int value);
int AXBAPI AXB_GetProbeStatus(int board, uint8_t* status);
int AXBAPI AXB_RearmTouchProbe(int board);
int AXBAPI AXB_GetTouchProbeLatchStatus(int board, uint8_t* status);
// first, second: 4 entries (X, Y, Z, Q); flags: 4 entries.
int AXBAPI AXB_GetTouchProbeLatch(int board, int latch, int32_t* first, uint16_t* flags, int32_t* second,
                                  uint8_t* status);

} // extern "C"
