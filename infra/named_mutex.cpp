#include "infra/named_mutex.h"

#include "infra/cost_meter.h"

bool NamedMutex::Acquire(DWORD waitMs)
{
    const DWORD self = GetCurrentThreadId();
    if (owner_.load() == self) {
        ++depth_;
        return true;
    }
    if (!handle_)
        handle_ = CreateMutexW(nullptr, FALSE, name_);
    if (!handle_)
        return false;
    DWORD result;
    {
        MeteredScope metered(g_lockCost);
        result = WaitForSingleObject(handle_, waitMs);
    }
    if (result != WAIT_OBJECT_0 && result != WAIT_ABANDONED)
        return false;
    owner_.store(self);
    depth_ = 1;
    return true;
}

void NamedMutex::Release()
{
    if (!handle_ || owner_.load() != GetCurrentThreadId())
        return;
    if (--depth_ > 0)
        return;
    owner_.store(0);
    MeteredScope metered(g_lockCost);
    ReleaseMutex(handle_);
}
