// The control interface of axbsim.h.
#include "axbsim.h"
#include "simulator.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

std::wstring PathArg(const wchar_t* path) { return path ? std::wstring(path) : std::wstring(); }

template <typename Op>
auto Control(Op op)
{
    return Simulator::Instance().Control(op);
}

} // namespace

extern "C" {

void AxbSim_Reset(void)
{
    Control([](Simulator& s) { s.Reset(); });
}
void AxbSim_PowerCycle(void)
{
    Control([](Simulator& s) { s.PowerCycle(); });
}
int AxbSim_SetConfigFile(const wchar_t* path)
{
    return Control([&](Simulator& s) { return s.SetConfigFile(PathArg(path)) ? 1 : 0; });
}
void AxbSim_SetStateFile(const wchar_t* path)
{
    Control([&](Simulator& s) { s.SetStateFile(PathArg(path)); });
}
int AxbSim_SetTraceFile(const wchar_t* path)
{
    return Control([&](Simulator& s) { return s.SetTraceFile(PathArg(path)) ? 1 : 0; });
}

void AxbSim_UseVirtualTime(int on)
{
    Control([&](Simulator& s) { s.clock().UseVirtual(on != 0); });
}
void AxbSim_SetTimeMs(uint64_t ms)
{
    Control([&](Simulator& s) { s.clock().SetMs(ms); });
}
void AxbSim_AdvanceTimeMs(uint32_t ms)
{
    Control([&](Simulator& s) { s.clock().AdvanceMs(ms); });
}
uint64_t AxbSim_GetTimeMs(void)
{
    return Control([](Simulator& s) { return s.clock().NowMs(); });
}

void AxbSim_SetOpenFailures(int n)
{
    Control([&](Simulator& s) { s.board().SetOpenFailures(n); });
}
int AxbSim_IsDriverOpen(void)
{
    return Control([](Simulator& s) { return s.board().IsOpen() ? 1 : 0; });
}
void AxbSim_SetFirmwareVersion(uint32_t version)
{
    Control([&](Simulator& s) { s.board().Versions().firmware = version; });
}
void AxbSim_SetHardwareVersion(uint32_t version)
{
    Control([&](Simulator& s) { s.board().Versions().hardware = version; });
}
void AxbSim_SetFpgaVersion(uint32_t version)
{
    Control([&](Simulator& s) { s.board().Versions().fpga = version; });
}
void AxbSim_SetSerialNumber(uint32_t serial)
{
    Control([&](Simulator& s) { s.board().Versions().serial = serial; });
}
void AxbSim_SetDllVersion(uint32_t version)
{
    Control([&](Simulator& s) { s.board().Versions().dll = version; });
}
void AxbSim_SetOeVersion(uint8_t version)
{
    Control([&](Simulator& s) { s.board().Versions().oe = version; });
}
void AxbSim_SetBoardType(uint32_t type)
{
    Control([&](Simulator& s) { s.board().Versions().boardType = type; });
}

uint32_t AxbSim_PeekParam(int number)
{
    return Control([&](Simulator& s) { return s.board().PeekParam(number).value_or(0); });
}
void AxbSim_PokeParam(int number, uint32_t value)
{
    Control([&](Simulator& s) { s.board().PokeParam(number, value); });
}
void AxbSim_SetParamRefused(int number, int refused)
{
    Control([&](Simulator& s) { s.board().SetParamRefused(number, refused != 0); });
}
uint32_t AxbSim_PeekFlashWord(int index)
{
    return Control([&](Simulator& s) { return s.board().PeekFlashWord(index).value_or(0); });
}
void AxbSim_PokeFlashWord(int index, uint32_t word)
{
    Control([&](Simulator& s) { s.board().PokeFlashWord(index, word); });
}

void AxbSim_SetSystemStatus(uint32_t bits)
{
    Control([&](Simulator& s) { s.board().SetSystemStatus(bits); });
}
void AxbSim_SetErrorByte(int axis, uint8_t bits)
{
    Control([&](Simulator& s) { s.board().SetErrorByte(axis, bits); });
}
void AxbSim_SetAxisStatus(int axis, uint16_t bits)
{
    Control([&](Simulator& s) { s.board().SetAxisStatus(axis, bits); });
}
void AxbSim_InjectErrorByte(int axis, uint8_t bits, int sticky)
{
    Control([&](Simulator& s) { s.board().InjectErrorByte(axis, bits, sticky != 0); });
}
void AxbSim_SetExtraLag(int axis, int32_t counts)
{
    Control([&](Simulator& s) { s.board().SetExtraLag(axis, counts); });
}
void AxbSim_ForceMoveStatus(int axis, uint8_t mask, uint8_t bits)
{
    Control([&](Simulator& s) { s.board().ForceMoveStatus(axis, mask, bits); });
}

void AxbSim_PlaceAxis(int axis, int32_t count)
{
    Control([&](Simulator& s) { s.board().PlaceAxis(axis, count); });
}
void AxbSim_SetTravel(int axis, int32_t minCount, int32_t maxCount)
{
    Control([&](Simulator& s) { s.board().SetTravel(axis, minCount, maxCount); });
}
int32_t AxbSim_PeekPosition(int axis)
{
    return Control([&](Simulator& s) { return s.board().PeekPosition(axis).value_or(0); });
}

void AxbSim_SetLimitSwitches(int axis, int present)
{
    Control([&](Simulator& s) { s.board().SetLimitSwitches(axis, present != 0); });
}
int AxbSim_SetMarks(int axis, const int32_t* counts, int n)
{
    if (n < 0 || (n > 0 && !counts))
        return 0;
    const std::vector<int32_t> marks(counts, counts + n);
    return Control([&](Simulator& s) { return s.board().SetMarks(axis, marks) ? 1 : 0; });
}
int AxbSim_SetDistanceCodedScale(int axis, int coding, int32_t incrementLines, int32_t countsPerLine,
                                 int32_t zeroCount, int reversed)
{
    if (coding != AXBSIM_CODING_STANDARD && coding != AXBSIM_CODING_ACURITE)
        return 0;
    return Control([&](Simulator& s) {
        return s.board().SetCodedScale(axis, coding == AXBSIM_CODING_ACURITE, incrementLines, countsPerLine,
                                       zeroCount, reversed != 0)
                   ? 1
                   : 0;
    });
}
int AxbSim_GetMarks(int axis, int32_t* counts, int capacity)
{
    if (axis < 0 || axis >= kAxisCount)
        return -1;
    const std::vector<int32_t> marks = Control([&](Simulator& s) { return s.board().Marks(axis); });
    for (int i = 0; counts && i < capacity && i < static_cast<int>(marks.size()); ++i)
        counts[i] = marks[i];
    return static_cast<int>(marks.size());
}
void AxbSim_SetMarkInverted(int axis, int inverted)
{
    Control([&](Simulator& s) { s.board().SetMarkInverted(axis, inverted != 0); });
}

void AxbSim_SetZoomHomeSwitchWidth(int32_t counts)
{
    Control([&](Simulator& s) { s.board().SetZoomHomeSwitchWidth(counts); });
}
void AxbSim_SetAxisStuck(int axis, int stuck)
{
    Control([&](Simulator& s) { s.board().SetAxisStuck(axis, stuck != 0); });
}

void AxbSim_SetProbeStatus(uint8_t status)
{
    Control([&](Simulator& s) { s.board().SetProbeStatus(status); });
}
int AxbSim_TouchProbe(void)
{
    return Control([](Simulator& s) { return s.board().TouchProbe(); }) ? 1 : 0;
}
void AxbSim_SetFiveButtonJoystick(int on)
{
    Control([&](Simulator& s) { s.board().SetFiveButtonJoystick(on != 0); });
}
void AxbSim_SetJoystickState(uint8_t buttons, uint8_t functions)
{
    Control([&](Simulator& s) { s.board().SetJoystickState(buttons, functions); });
}
void AxbSim_SetGpioLoopBack(int plugged)
{
    Control([&](Simulator& s) { s.board().SetGpioLoopBack(plugged != 0); });
}
void AxbSim_SetGpioInputs(uint8_t levels)
{
    Control([&](Simulator& s) { s.board().SetGpioInputs(levels); });
}
void AxbSim_SetGpioFunctionStates(uint8_t states)
{
    Control([&](Simulator& s) { s.board().SetGpioFunctionStates(states); });
}
void AxbSim_SetJoystickAdc(int axis, const uint16_t* readings, int count, uint32_t stepMs)
{
    std::vector<uint16_t> script;
    if (readings && count > 0)
        script.assign(readings, readings + count);
    Control([&](Simulator& s) { s.board().SetJoystickAdc(axis, std::move(script), stepMs); });
}
void AxbSim_SetTurret(int fitted, uint32_t turnMs, int position)
{
    Control([&](Simulator& s) { s.board().SetTurret(fitted != 0, turnMs, position); });
}

void AxbSim_InjectEncoderErrors(int axis, int signalError, int frequencyError)
{
    Control([&](Simulator& s) { s.board().InjectEncoderErrors(axis, signalError != 0, frequencyError != 0); });
}
void AxbSim_SetFlashStatus(int item, uint32_t value)
{
    Control([&](Simulator& s) { s.board().SetFlashStatus(item, value); });
}
void AxbSim_SetSupplyVoltage(int supply, uint16_t nominal, uint16_t noise)
{
    Control([&](Simulator& s) { s.board().SetSupplyVoltage(supply, nominal, noise); });
}
void AxbSim_SetMotorCurrent(int axis, int32_t current)
{
    const std::optional<uint32_t> fixed =
        current < 0 ? std::nullopt : std::optional<uint32_t>(static_cast<uint32_t>(current));
    Control([&](Simulator& s) { s.board().SetMotorCurrent(axis, fixed); });
}

void AxbSim_ClearCallLog(void)
{
    Control([](Simulator& s) { s.log().Clear(); });
}
int AxbSim_GetCallCount(void)
{
    return Control([](Simulator& s) { return static_cast<int>(s.log().Count()); });
}
size_t AxbSim_GetCallLog(char* buffer, size_t size)
{
    const std::string text = Control([](Simulator& s) { return s.log().Text(); });
    if (buffer && size > 0) {
        const size_t n = text.size() < size ? text.size() : size - 1;
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
    }
    return text.size();
}

} // extern "C"
