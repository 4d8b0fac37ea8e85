// Revolver_Dll.dll stand-in: a revolver turret whose device answers on one
// configured COM port, busy for a while after each GoToPosition, on the
// simulated board's clock.
#include "driver/turret_libraries.h"
#include "sim/board/axbsim.h"

#include <cstring>
#include <initializer_list>

namespace {

struct RevolverState {
    int port = 4;             // where the device answers; 0: nowhere
    uint64_t moveMs = 400;
    int32_t stateResult = 0;  // what GetState answers: 0, -1 timeout, -2 checksum
    bool fullFirmwareText = false;   // GetFwVersion fills all 128 bytes, no terminator
    bool noDllVersion = false;       // GetDllVersion answers null
    int openPort = 0;
    int position = 1;
    uint64_t busyUntilMs = 0;
    int getStateCalls = 0;
};
RevolverState g_revolver;

} // namespace

extern "C" {

__declspec(dllexport) const char* TURRETAPI GetDllVersion()
{
    return g_revolver.noDllVersion ? nullptr : "REV-SIM 1.0";
}

__declspec(dllexport) int32_t TURRETAPI InitComm(int32_t port, int32_t baudRate)
{
    if (port != g_revolver.port || baudRate != kRevolverBaudRate)
        return -1;
    g_revolver.openPort = port;
    return 0;
}

__declspec(dllexport) void TURRETAPI CloseComm() { g_revolver.openPort = 0; }

__declspec(dllexport) int32_t TURRETAPI GetFwVersion(char* text)
{
    if (!g_revolver.openPort || !text)
        return -1;
    if (g_revolver.fullFirmwareText)
        std::memset(text, 'F', kRevolverTextSize);
    else
        std::strcpy(text, "FW 2.1");
    return 0;
}

__declspec(dllexport) void TURRETAPI GoToPosition(int32_t position)
{
    if (!g_revolver.openPort)
        return;
    g_revolver.position = position;
    g_revolver.busyUntilMs = AxbSim_GetTimeMs() + g_revolver.moveMs;
}

// o10 is 1 while the turret turns; o1 is its position; the rest stay 0.
__declspec(dllexport) int32_t TURRETAPI GetState(uint8_t* o1, uint8_t* o2, uint8_t* o3, uint8_t* o4, uint8_t* o5,
                                                 uint8_t* o6, uint8_t* o7, uint8_t* o8, uint8_t* o9, uint8_t* o10)
{
    ++g_revolver.getStateCalls;
    if (!g_revolver.openPort)
        return -1;
    if (g_revolver.stateResult != 0)
        return g_revolver.stateResult;
    for (uint8_t* o : {o2, o3, o4, o5, o6, o7, o8, o9})
        if (o)
            *o = 0;
    if (o1)
        *o1 = static_cast<uint8_t>(g_revolver.position);
    if (o10)
        *o10 = AxbSim_GetTimeMs() < g_revolver.busyUntilMs;
    return 0;
}

// Required by the program, never called by it.
__declspec(dllexport) int32_t TURRETAPI SetTimeOutRxCommand(int32_t) { return 0; }
__declspec(dllexport) int32_t TURRETAPI GetParameters(uint8_t*) { return 0; }
__declspec(dllexport) int32_t TURRETAPI Zephon(int32_t) { return 0; }

// The stand-in's control: the port the device answers on (0: none), how long
// a move takes, GetState's result, and the two version oddities.
__declspec(dllexport) void RevolverSim_Set(int port, uint32_t moveMs, int32_t stateResult, int fullFirmwareText,
                                           int noDllVersion)
{
    g_revolver = RevolverState{};
    g_revolver.port = port;
    g_revolver.moveMs = moveMs;
    g_revolver.stateResult = stateResult;
    g_revolver.fullFirmwareText = fullFirmwareText != 0;
    g_revolver.noDllVersion = noDllVersion != 0;
}
__declspec(dllexport) int RevolverSim_GetStateCalls() { return g_revolver.getStateCalls; }

} // extern "C"
