#pragma once
// "ZOOM_LOCK", the named mutex held for a whole tick of the zoom timer, so
// that the main window's timer and the dialogs' timers (and the other
// programs of the family) never step the zoom at the same time. The board
// lock is only ever taken inside it, never the other way round.
#include "infra/named_mutex.h"

// Waits as long as it takes. True when the lock is held; a mutex abandoned
// by a dead holder counts as held (and must be released like any other).
bool AcquireZoomLock();
void ReleaseZoomLock();

using ZoomLockGuard = ScopedLock<AcquireZoomLock, ReleaseZoomLock>;
