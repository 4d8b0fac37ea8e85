#include "zoom/turrets/turrets.h"

#include "infra/log.h"

namespace {

void LogNotAvailable(const char* kind, int8_t n)
{
    LogPrintf(g_log, "%s turret is not available yet: position %d not set\n", kind, n);
}

} // namespace

void TurretGoto(int kind, int8_t n)
{
    switch (kind) {
    case kZoomRevolver: return LogNotAvailable("Revolver", n);
    case kZoomOlympusBox: return LogNotAvailable("Olympus box", n);
    case kZoomOlympusPins: return LogNotAvailable("Olympus I/O", n);
    case kZoomNikon: return LogNotAvailable("Nikon", n);
    default:
        return;
    }
}
