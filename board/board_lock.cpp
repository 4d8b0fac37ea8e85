#include "board/board_lock.h"

namespace {

constexpr DWORD kBoardLockWaitMs = 1000;

NamedMutex g_boardLock{L"ZEZ_LOCK"};

} // namespace

bool AcquireBoardLock() { return g_boardLock.Acquire(kBoardLockWaitMs); }

void ReleaseBoardLock() { g_boardLock.Release(); }
