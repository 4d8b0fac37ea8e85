#include "tools/logview/log_drain.h"

#include "infra/log.h"

#include <algorithm>
#include <cwchar>

using namespace log_channel;

LogDrain::~LogDrain()
{
    if (view_ != nullptr)
        UnmapViewOfFile(view_);
    for (HANDLE handle : {mapping_, lock_, event_}) {
        if (handle != nullptr)
            CloseHandle(handle);
    }
}

bool LogDrain::Open()
{
    if (mapping_ == nullptr)
        mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBufferBytes, kMapName);
    if (mapping_ != nullptr && view_ == nullptr)
        view_ = static_cast<wchar_t*>(MapViewOfFile(mapping_, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, kBufferBytes));
    if (lock_ == nullptr)
        lock_ = CreateMutexW(nullptr, FALSE, kLockName);
    if (event_ == nullptr)
        event_ = CreateEventW(nullptr, FALSE, FALSE, kEventName);
    return view_ != nullptr && lock_ != nullptr && event_ != nullptr;
}

bool LogDrain::Lock()
{
    if (view_ == nullptr || lock_ == nullptr)
        return false;
    const ULONGLONG deadline = GetTickCount64() + kLockWaitMs;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        const DWORD wait = MsgWaitForMultipleObjects(1, &lock_, FALSE, left, QS_SENDMESSAGE);
        // A writer or viewer that died holding the lock left nothing half-done
        // that matters: the buffer is always a valid string.
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED_0)
            return true;
        if (wait != WAIT_OBJECT_0 + 1)
            return false;
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

bool LogDrain::DrainInto(HWND list)
{
    if (!Lock())
        return false;
    view_[kBufferUnits - 1] = 0;
    const size_t length = std::wcslen(view_);
    const size_t lastFeed = std::wstring_view(view_, length).rfind(L'\n');
    const size_t complete = lastFeed == std::wstring_view::npos ? 0 : lastFeed + 1;
    // Writers wait while the lock is held, so the lines are copied out and
    // listed after releasing it. That keeps their order: a writer's flush
    // into the list is served only when this thread next takes messages.
    wchar_t lines[kBufferUnits];
    std::copy(view_, view_ + complete, lines);
    std::copy(view_ + complete, view_ + length + 1, view_);
    ReleaseMutex(lock_);

    AddLinesToList(list, lines, complete);
    return true;
}

bool LogDrain::Discard()
{
    if (!Lock())
        return false;
    view_[0] = 0;
    ReleaseMutex(lock_);
    return true;
}

std::string ToUtf8(std::wstring_view text)
{
    const int wideLength = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(std::max(length, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), wideLength, utf8.data(), length, nullptr, nullptr);
    return utf8;
}
