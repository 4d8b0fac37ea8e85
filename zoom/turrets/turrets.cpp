#include "zoom/turrets/turrets.h"

#include "zoom/turrets/turret_kinds.h"

namespace {

constexpr TurretKindRow kTurretKinds[] = {
    {kZoomOlympusBox, SetUpOlympusBox, OlympusBoxGoto, OlympusBoxPoll, ResetOlympusBox},
    {kZoomOlympusPins, SetUpOlympusPins, OlympusPinsGoto, OlympusPinsPoll, ResetOlympusPins},
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
        row->setUp();
        row->goTo(n);
    }
}

void TurretPoll(int kind)
{
    if (const TurretKindRow* row = FindKind(kind))
        row->poll();
}

void ResetTurrets()
{
    for (const TurretKindRow& row : kTurretKinds)
        row.reset();
}
