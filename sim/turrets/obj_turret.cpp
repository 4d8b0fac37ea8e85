// ObjTurret.dll stand-in: a five-position objective turret behind "KrvCmd",
// on the simulated board's clock so that tests on virtual time see it move
// deterministically.
#include "driver/turret_libraries.h"
#include "sim/board/axbsim.h"

namespace {

constexpr int kPositions = 5;

struct TurretState {
    int position = 1;
    uint64_t moveMs = 300;
    uint64_t movingUntilMs = 0;
    bool initialised = false;
    bool failing = false;   // every command answers 0
};
TurretState g_turret;

bool Moving() { return AxbSim_GetTimeMs() < g_turret.movingUntilMs; }

} // namespace

extern "C" {

__declspec(dllexport) uint8_t TURRETAPI KrvCmd(int32_t command, intptr_t argument)
{
    if (g_turret.failing)
        return 0;
    switch (command) {
    case kKrvInit:
        g_turret.initialised = argument == kKrvInitArgument;
        return g_turret.initialised;
    case kKrvStep:
        if (!g_turret.initialised || Moving())
            return 0;
        g_turret.position = (g_turret.position - 1 + (argument ? 1 : kPositions - 1)) % kPositions + 1;
        g_turret.movingUntilMs = AxbSim_GetTimeMs() + g_turret.moveMs;
        return 1;
    case kKrvPosition:
        if (!g_turret.initialised || argument == 0)
            return 0;
        *reinterpret_cast<uint64_t*>(argument) = Moving() ? 0 : static_cast<uint64_t>(g_turret.position);
        return 1;
    default:
        return 0;
    }
}

// The stand-in's control: its position 1..5, how long a step takes, and
// whether every command fails; the turret stands still afterwards.
__declspec(dllexport) void ObjTurretSim_Set(int position, uint32_t moveMs, int failing)
{
    g_turret.position = position >= 1 && position <= kPositions ? position : 1;
    g_turret.moveMs = moveMs;
    g_turret.movingUntilMs = 0;
    g_turret.failing = failing != 0;
}

} // extern "C"
