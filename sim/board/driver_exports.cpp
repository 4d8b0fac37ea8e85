// The driver library's operations, exported under the same ordinals as the
// board maker's AXB400.dll. Each one hands its arguments to the simulated
// board and leaves a line in the call log.
#include "axb400.h"
#include "simulator.h"

#include <cstddef>

namespace {

template <typename T>
OutArg<T> Logged(T* out)
{
    return Out(static_cast<const T*>(out));
}

template <typename T>
T Logged(T value)
{
    return value;
}

// Runs a Board operation of the same name and arguments, logging every
// pointer argument as a single out-value.
template <typename... Params, typename... Args>
int Forward(const char* name, int (Board::*op)(Params...), Args... args)
{
    return Simulator::Instance().Call(
        name, [&](Board& board) { return (board.*op)(args...); }, Logged(args)...);
}

constexpr size_t kRecordFields = 15;
constexpr size_t kProbeAxes = 4;

} // namespace

extern "C" {

int AXBAPI AXB_OpenDrv() { return Forward("AXB_OpenDrv", &Board::OpenDrv); }
int AXBAPI AXB_CloseDrv() { return Forward("AXB_CloseDrv", &Board::CloseDrv); }
int AXBAPI AXB_GetDllVersion(uint8_t* b1, uint8_t* b2, uint8_t* b3, uint8_t* b4)
{
    return Forward("AXB_GetDllVersion", &Board::GetDllVersion, b1, b2, b3, b4);
}
int AXBAPI AXB_ResetBoard(int board) { return Forward("AXB_ResetBoard", &Board::ResetBoard, board); }
int AXBAPI AXB_GetHardwareVersion(int board, uint32_t* version)
{
    return Forward("AXB_GetHardwareVersion", &Board::GetHardwareVersion, board, version);
}
int AXBAPI AXB_GetFirmwareVersion(int board, uint8_t* b1, uint8_t* b2, uint8_t* b3, uint8_t* b4)
{
    return Forward("AXB_GetFirmwareVersion", &Board::GetFirmwareVersion, board, b1, b2, b3, b4);
}
int AXBAPI AXB_GetFpgaVersion(int board, uint32_t* version)
{
    return Forward("AXB_GetFpgaVersion", &Board::GetFpgaVersion, board, version);
}
int AXBAPI AXB_GetSerialNumber(int board, uint32_t* serial)
{
    return Forward("AXB_GetSerialNumber", &Board::GetSerialNumber, board, serial);
}
int AXBAPI AXB_GetOeVersion(int board, uint8_t* version)
{
    return Forward("AXB_GetOeVersion", &Board::GetOeVersion, board, version);
}
int AXBAPI AXB_GetBoardType(int board, uint32_t* type) { return Forward("AXB_GetBoardType", &Board::GetBoardType, board, type); }
int AXBAPI AXB_ReadStartupWord(int board, uint32_t* value)
{
    return Forward("AXB_ReadStartupWord", &Board::ReadStartupWord, board, value);
}
int AXBAPI AXB_SetStartupValue(int board, uint32_t value)
{
    return Forward("AXB_SetStartupValue", &Board::SetStartupValue, board, value);
}

int AXBAPI AXB_GetParam(int board, int number, uint32_t* value)
{
    return Forward("AXB_GetParam", &Board::GetParam, board, number, value);
}
int AXBAPI AXB_SetParam(int board, int number, uint32_t value)
{
    return Forward("AXB_SetParam", &Board::SetParam, board, number, value);
}
int AXBAPI AXB_SaveParamsToFlash(int board) { return Forward("AXB_SaveParamsToFlash", &Board::SaveParamsToFlash, board); }
int AXBAPI AXB_ReadFlashWord(int board, int index, uint32_t* word)
{
    return Forward("AXB_ReadFlashWord", &Board::ReadFlashWord, board, index, word);
}
int AXBAPI AXB_WriteFlashWord(int board, int index, uint32_t word)
{
    return Forward("AXB_WriteFlashWord", &Board::WriteFlashWord, board, index, word);
}
int AXBAPI AXB_CommitFlashWords(int board) { return Forward("AXB_CommitFlashWords", &Board::CommitFlashWords, board); }
int AXBAPI AXB_GetFlashStatus(int board, int item, uint32_t* value)
{
    return Forward("AXB_GetFlashStatus", &Board::GetFlashStatus, board, item, value);
}

int AXBAPI AXB_GetAxisPosValue(int board, int axis, int32_t* position)
{
    return Forward("AXB_GetAxisPosValue", &Board::GetAxisPosValue, board, axis, position);
}
int AXBAPI AXB_GetLatchReg(int board, int axis, int latch, int32_t* count)
{
    return Forward("AXB_GetLatchReg", &Board::GetLatchReg, board, axis, latch, count);
}
int AXBAPI AXB_GetFollowingError(int board, int axis, int32_t* lag)
{
    return Forward("AXB_GetFollowingError", &Board::GetFollowingError, board, axis, lag);
}
int AXBAPI AXB_GetMoveStatus(int board, int axis, uint8_t* moveStatus, uint8_t* errorByte)
{
    return Forward("AXB_GetMoveStatus", &Board::GetMoveStatus, board, axis, moveStatus, errorByte);
}
int AXBAPI AXB_GetAxisStatus(int board, int axis, uint16_t* status)
{
    return Forward("AXB_GetAxisStatus", &Board::GetAxisStatus, board, axis, status);
}
int AXBAPI AXB_GetSystemStatus(int board, uint32_t* status)
{
    return Forward("AXB_GetSystemStatus", &Board::GetSystemStatus, board, status);
}
int AXBAPI AXB_ReadStatusWord(int board, uint32_t* word)
{
    return Forward("AXB_ReadStatusWord", &Board::ReadStatusWord, board, word);
}
int AXBAPI AXB_GetAxisRecord(int board, int axis, int32_t* record)
{
    return Simulator::Instance().Call(
        "AXB_GetAxisRecord", [&](Board& b) { return b.GetAxisRecord(board, axis, record); }, board, axis,
        OutArray(static_cast<const int32_t*>(record), kRecordFields));
}
int AXBAPI AXB_GetMotorCurrent(int board, int axis, uint32_t* current)
{
    return Forward("AXB_GetMotorCurrent", &Board::GetMotorCurrent, board, axis, current);
}
int AXBAPI AXB_GetEncoderVoltage(int board, uint16_t* voltage)
{
    return Forward("AXB_GetEncoderVoltage", &Board::GetEncoderVoltage, board, voltage);
}
int AXBAPI AXB_GetSupplyVoltage(int board, uint16_t* voltage)
{
    return Forward("AXB_GetSupplyVoltage", &Board::GetSupplyVoltage, board, voltage);
}
int AXBAPI AXB_GetInterpolatorVoltage(int board, uint16_t* voltage)
{
    return Forward("AXB_GetInterpolatorVoltage", &Board::GetInterpolatorVoltage, board, voltage);
}
int AXBAPI AXB_ResetAxisError(int board, int axis, int code)
{
    return Forward("AXB_ResetAxisError", &Board::ResetAxisError, board, axis, code);
}
int AXBAPI AXB_ClearEncoderErrors(int board, uint8_t axisMask)
{
    return Forward("AXB_ClearEncoderErrors", &Board::ClearEncoderErrors, board, axisMask);
}
int AXBAPI AXB_ClearCount(int board, uint8_t axisMask) { return Forward("AXB_ClearCount", &Board::ClearCount, board, axisMask); }

int AXBAPI AXB_SetAxisPosAbs(int board, int axis, int32_t target)
{
    return Forward("AXB_SetAxisPosAbs", &Board::SetAxisPosAbs, board, axis, target);
}
int AXBAPI AXB_SetAxisPosLin(int board, int32_t x, int32_t y, int32_t z, int32_t q, uint16_t velocity)
{
    return Forward("AXB_SetAxisPosLin", &Board::SetAxisPosLin, board, x, y, z, q, velocity);
}
int AXBAPI AXB_SetAxisPosCircle(int board, int32_t radius, double startDeg, double sweepDeg, int32_t feed,
                                uint16_t velocity, double pitchDeg, double yawDeg)
{
    return Forward("AXB_SetAxisPosCircle", &Board::SetAxisPosCircle, board, radius, startDeg, sweepDeg, feed, velocity,
                   pitchDeg, yawDeg);
}
int AXBAPI AXB_SeekHome(int board, int axis) { return Forward("AXB_SeekHome", &Board::SeekHome, board, axis); }
int AXBAPI AXB_StopAxis(int board, int axis) { return Forward("AXB_StopAxis", &Board::StopAxis, board, axis); }
int AXBAPI AXB_SetVelocityPercent(int board, int axis, uint16_t velocity)
{
    return Forward("AXB_SetVelocityPercent", &Board::SetVelocityPercent, board, axis, velocity);
}

int AXBAPI AXB_SetLatchMode(int board, int axis, int latch, int mode)
{
    return Forward("AXB_SetLatchMode", &Board::SetLatchMode, board, axis, latch, mode);
}
int AXBAPI AXB_GetLatchMode(int board, int axis, int latch, int32_t* mode)
{
    return Forward("AXB_GetLatchMode", &Board::GetLatchMode, board, axis, latch, mode);
}
int AXBAPI AXB_ClearLatchStatus(int board, uint8_t axisMask)
{
    return Forward("AXB_ClearLatchStatus", &Board::ClearLatchStatus, board, axisMask);
}
int AXBAPI AXB_SetAxisReg(int board, int axis, int reg, uint16_t value)
{
    return Forward("AXB_SetAxisReg", &Board::SetAxisReg, board, axis, reg, value);
}
int AXBAPI AXB_GetAxisReg(int board, int axis, int reg, uint16_t* value)
{
    return Forward("AXB_GetAxisReg", &Board::GetAxisReg, board, axis, reg, value);
}

int AXBAPI AXB_SetExternIO(int board, uint8_t outputs, uint8_t lampMask)
{
    return Forward("AXB_SetExternIO", &Board::SetExternIO, board, outputs, lampMask);
}
int AXBAPI AXB_SetGpio(int board, uint8_t directionMask, uint8_t levels)
{
    return Forward("AXB_SetGpio", &Board::SetGpio, board, directionMask, levels);
}
int AXBAPI AXB_GetGpio(int board, uint8_t* levels, uint8_t* functionStates)
{
    return Forward("AXB_GetGpio", &Board::GetGpio, board, levels, functionStates);
}
int AXBAPI AXB_SetLampLevel(int board, int channel, uint16_t level)
{
    return Forward("AXB_SetLampLevel", &Board::SetLampLevel, board, channel, level);
}
int AXBAPI AXB_ReadAdc(int board, int channel, uint16_t* value)
{
    return Forward("AXB_ReadAdc", &Board::ReadAdc, board, channel, value);
}
int AXBAPI AXB_GetJoystickVelocity(int board, int axis, int8_t* percent)
{
    return Forward("AXB_GetJoystickVelocity", &Board::GetJoystickVelocity, board, axis, percent);
}
int AXBAPI AXB_GetJoystickAxis(int board, int axis, uint8_t* a, uint8_t* b, uint8_t* c)
{
    return Forward("AXB_GetJoystickAxis", &Board::GetJoystickAxis, board, axis, a, b, c);
}
int AXBAPI AXB_SetJoystickAxis(int board, int axis, uint8_t a, uint8_t b, uint8_t c)
{
    return Forward("AXB_SetJoystickAxis", &Board::SetJoystickAxis, board, axis, a, b, c);
}
int AXBAPI AXB_GetJoystickButtons(int board, uint32_t* mode, uint8_t* functions, uint8_t* state)
{
    return Forward("AXB_GetJoystickButtons", &Board::GetJoystickButtons, board, mode, functions, state);
}
int AXBAPI AXB_GetJoyStickMode(int board, uint32_t* mode, uint8_t* functions, uint8_t* state)
{
    return Forward("AXB_GetJoyStickMode", &Board::GetJoyStickMode, board, mode, functions, state);
}
int AXBAPI AXB_SetTouchProbe(int board, uint8_t flags) { return Forward("AXB_SetTouchProbe", &Board::SetTouchProbe, board, flags); }
int AXBAPI AXB_SetProbeOption(int board, int option, int value)
{
    return Forward("AXB_SetProbeOption", &Board::SetProbeOption, board, option, value);
}
int AXBAPI AXB_GetProbeStatus(int board, uint8_t* status)
{
    return Forward("AXB_GetProbeStatus", &Board::GetProbeStatus, board, status);
}
int AXBAPI AXB_RearmTouchProbe(int board) { return Forward("AXB_RearmTouchProbe", &Board::RearmTouchProbe, board); }
int AXBAPI AXB_GetTouchProbeLatchStatus(int board, uint8_t* status)
{
    return Forward("AXB_GetTouchProbeLatchStatus", &Board::GetTouchProbeLatchStatus, board, status);
}
int AXBAPI AXB_GetTouchProbeLatch(int board, int latch, int32_t* first, uint16_t* flags, int32_t* second,
                                  uint8_t* status)
{
    return Simulator::Instance().Call(
        "AXB_GetTouchProbeLatch", [&](Board& b) { return b.GetTouchProbeLatch(board, latch, first, flags, second, status); },
        board, latch, OutArray(static_cast<const int32_t*>(first), kProbeAxes),
        OutArray(static_cast<const uint16_t*>(flags), kProbeAxes),
        OutArray(static_cast<const int32_t*>(second), kProbeAxes), Logged(status));
}

} // extern "C"
