// The Nikon objective turret behind "ObjTurret.dll": one step per command,
// the position read back through "KrvCmd", and the next step from the timer
// until the turret reports the target.
#include "core/turret_steps.h"
#include "driver/turret_libraries.h"
#include "infra/library_loader.h"
#include "infra/log.h"
#include "zoom/turrets/turret_kinds.h"
#include "zoom/zoom.h"

namespace {

HMODULE g_nikonLibrary;
KrvCmdFunction g_krvCmd;
uint8_t g_nikonTarget;
bool g_nikon_was_running;

// Loaded once; a missing library is tried again on the next call.
bool LoadTurretLibrary()
{
    if (g_nikonLibrary)
        return g_krvCmd != nullptr;
    g_nikonLibrary = LoadProgramLibrary(L"ObjTurret.dll");
    if (!g_nikonLibrary) {
        g_log.Write("ObjTurretTest unable to load ObjTurret.dll\n");
        return false;
    }
    g_krvCmd = FindLibraryExport<KrvCmdFunction>(g_nikonLibrary, "KrvCmd");
    return g_krvCmd && g_krvCmd(kKrvInit, kKrvInitArgument) != 0;
}

// The whole 64-bit answer (0 while the turret moves); nothing when the
// library cannot say.
bool ReadNikonPosition(uint64_t& position)
{
    position = 0;
    return LoadTurretLibrary() && g_krvCmd(kKrvPosition, reinterpret_cast<intptr_t>(&position)) != 0;
}

bool TurretIsNikonMoving()
{
    uint64_t position = 0;
    if (ReadNikonPosition(position)) {
        LogPrintf(g_log, "TurretIsNikonMoving today pos=%u\n", static_cast<uint32_t>(position));
        return position == 0;
    }
    g_log.Write("TurretIsNikonMoving FAIL\n");
    return true;
}

// The position once a second look also found the turret standing, else 99.
int StandingPosition()
{
    uint64_t position = 0;
    if (TurretIsNikonMoving() || !ReadNikonPosition(position))
        return kNoTurretPosition;
    return static_cast<uint8_t>(position);
}

void TurretNikonMove()
{
    const int target = g_nikonTarget;
    LogPrintf(g_log, "TurretNikonMove1=%d\n", target);
    if (TurretIsNikonMoving())
        return;
    const int pos = StandingPosition();
    LogPrintf(g_log, "TurretNikonMove2=%d\n", pos);
    if (pos == target)
        return;
    g_log.Write("TurretNikonMove3\n");
    const bool forward = TurretStepsForward(pos, target);
    g_log.Write(forward ? "TurretNikonMovePlus\n" : "TurretNikonMoveMinus\n");
    if (LoadTurretLibrary())
        g_krvCmd(kKrvStep, forward ? 1 : 0);
}

} // namespace

void NikonGoto(int8_t n)
{
    LogPrintf(g_log, "NIKON_GoToPosition(%d)\n", n);
    const auto target = static_cast<uint8_t>(LimitTurretTarget(n));
    if (!g_nikon_was_running || target != g_nikonTarget)
        StartTurretMoveClock();
    g_nikonTarget = target;
    if (!TurretIsNikonMoving()) {
        g_log.Write("Not TurretIsNikonMoving\n");
        TurretNikonMove();
    } else {
        g_log.Write("TurretIsNikonMoving\n");
    }
    g_nikon_was_running = true;
}

void NikonPoll()
{
    if (!g_nikon_was_running)
        return;
    g_log.Write("**Timer g_nikon_was_running\n");
    if (!TurretIsNikonMoving()) {
        g_log.Write("**Timer not moving\n");
        if (StandingPosition() == g_nikonTarget) {
            g_log.Write("Zoom finished correctly\n");
            g_log.Write("mMoveFunc=0\n");
            g_nikon_was_running = false;
            return;
        }
        g_log.Write("**Timer ZoomGoto\n");
        ZoomGoto(static_cast<int8_t>(g_nikonTarget));
    }
    if (TurretMoveTimedOut())
        g_nikon_was_running = false;
}

void ResetNikon()
{
    if (g_nikonLibrary)
        FreeLibrary(g_nikonLibrary);
    g_nikonLibrary = nullptr;
    g_krvCmd = nullptr;
    g_nikonTarget = 0;
    g_nikon_was_running = false;
}
