#include "board/board_lock.h"

#include <windows.h>

namespace {

constexpr wchar_t kBoardLockName[] = L"ZEZ_LOCK";
constexpr DWORD kBoardLockWaitMs = 1000;

// Created on first use and kept until the process ends: the other programs
// of the family find the same mutex by name, and closing it between uses
// would only cost a new kernel object each time.
HANDLE g_boardLockHandle = nullptr;

} // namespace

bool AcquireBoardLock()
{
    if (!g_boardLockHandle)
        g_boardLockHandle = CreateMutexW(nullptr, FALSE, kBoardLockName);
    if (!g_boardLockHandle)
        return false;
    // An owner that died inside its sequence leaves the board in whatever
    // state it reached; waiting longer would not make it any better, so an
    // abandoned mutex is taken like a free one.
    const DWORD result = WaitForSingleObject(g_boardLockHandle, kBoardLockWaitMs);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

void ReleaseBoardLock()
{
    if (g_boardLockHandle)
        ReleaseMutex(g_boardLockHandle);
}
