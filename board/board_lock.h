#pragma once
// "ZEZ_LOCK", the named mutex that keeps the board to one multi-step driver
// sequence at a time across every program of the family. Recursive for its
// owning thread; a mutex abandoned by a dead owner counts as acquired.
#include "infra/named_mutex.h"

// Waits at most 1000 ms. True when the lock is held; every true must be
// matched by exactly one ReleaseBoardLock.
bool AcquireBoardLock();
void ReleaseBoardLock();

// Holds the lock for a scope when it could be taken.
using BoardLockGuard = ScopedLock<AcquireBoardLock, ReleaseBoardLock>;
