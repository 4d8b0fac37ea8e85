#pragma once
// Looks at the log channel from outside, as a second viewer would, without
// draining it.
#include "infra/log.h"

#include <string>

class ChannelProbe {
public:
    ChannelProbe()
        : mapping_(OpenFileMappingW(FILE_MAP_READ, FALSE, log_channel::kMapName)),
          event_(OpenEventW(SYNCHRONIZE, FALSE, log_channel::kEventName))
    {
        if (mapping_ != nullptr)
            view_ = static_cast<const wchar_t*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, log_channel::kBufferBytes));
    }
    ~ChannelProbe()
    {
        if (view_ != nullptr)
            UnmapViewOfFile(view_);
        for (HANDLE handle : {mapping_, event_}) {
            if (handle != nullptr)
                CloseHandle(handle);
        }
    }
    ChannelProbe(const ChannelProbe&) = delete;
    ChannelProbe& operator=(const ChannelProbe&) = delete;

    std::wstring Pending() const { return view_ != nullptr ? std::wstring(view_) : L"<no buffer>"; }
    // Consumes a signal, as the viewer's wait would.
    bool TakeSignal() const { return event_ != nullptr && WaitForSingleObject(event_, 0) == WAIT_OBJECT_0; }

private:
    HANDLE mapping_;
    HANDLE event_;
    const wchar_t* view_ = nullptr;
};

inline bool NamedObjectsExist()
{
    bool exists = false;
    for (HANDLE handle : {OpenMutexW(SYNCHRONIZE, FALSE, log_channel::kLockName),
                          OpenFileMappingW(FILE_MAP_READ, FALSE, log_channel::kMapName),
                          OpenEventW(SYNCHRONIZE, FALSE, log_channel::kEventName)}) {
        if (handle != nullptr)
            CloseHandle(handle);
        exists = exists || handle != nullptr;
    }
    return exists;
}
