#include "tests/support/other_lock.h"

OtherProgramLock::OtherProgramLock(const wchar_t* name) : thread_(&OtherProgramLock::Hold, this, name)
{
    WaitForSingleObject(tried_, INFINITE);
}

OtherProgramLock::~OtherProgramLock()
{
    SetEvent(finish_);
    thread_.join();
    CloseHandle(tried_);
    CloseHandle(finish_);
}

void OtherProgramLock::Hold(const wchar_t* name)
{
    HANDLE lock = CreateMutexW(nullptr, FALSE, name);
    const DWORD result = WaitForSingleObject(lock, 0);
    holds_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    SetEvent(tried_);
    WaitForSingleObject(finish_, INFINITE);
    if (holds_)
        ReleaseMutex(lock);
    CloseHandle(lock);
}

void AbandonLockInOtherThread(const wchar_t* name)
{
    std::thread([name] { WaitForSingleObject(CreateMutexW(nullptr, FALSE, name), 0); }).join();
}
