#include "zoom/turrets/turrets.h"

#include "zoom/turrets/turret_kinds.h"

namespace {

constexpr TurretKindRow kTurretKinds[] = {
    {kZoomRevolver, SetUpRevolver, RevolverGoto, RevolverPoll, ResetRevolver},
    // The box never reports an arrival: no poll.
    {kZoomOlympusBox, SetUpOlympusBox, OlympusBoxGoto, nullptr, ResetOlympusBox},
    {kZoomOlympusPins, SetUpOlympusPins, OlympusPinsGoto, OlympusPinsPoll, ResetOlympusPins},
    // The library is loaded by the first position read.
    {kZoomNikon, nullptr, NikonGoto, NikonPoll, ResetNikon},
};

const TurretKindRow* FindKind(int kind)
{
    for (const TurretKindRow& row : kTurretKinds)
        if (row.kind == kind)
            return &row;
    return nullptr;
}

} // namespace

void TurretGoto(int kind, int8_t n)
{
    if (const TurretKindRow* row = FindKind(kind)) {
        if (row->setUp)
            row->setUp();
        row->goTo(n);
    }
}

void TurretPoll(int kind)
{
    if (const TurretKindRow* row = FindKind(kind); row && row->poll)
        row->poll();
}

void ResetTurrets()
{
    for (const TurretKindRow& row : kTurretKinds)
        row.reset();
}
