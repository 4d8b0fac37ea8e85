#include "infra/named_mutex.h"

bool NamedMutex::Acquire(DWORD waitMs)
{
    if (!handle_)
        handle_ = CreateMutexW(nullptr, FALSE, name_);
    if (!handle_)
        return false;
    const DWORD result = WaitForSingleObject(handle_, waitMs);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

void NamedMutex::Release()
{
    if (handle_)
        ReleaseMutex(handle_);
}
