#include "infra/log.h"

#include "infra/cost_meter.h"
#include "infra/log_ring.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <new>

using namespace log_channel;

// Constant-initialised, so code running in other static initialisers can log.
constinit KRV_Log g_log;

namespace {

// Stops counting at `limit`: a longer text is dropped anyway, and a caller
// handing over a huge text should not pay for measuring all of it.
template <typename Char>
size_t BoundedLength(const Char* text, size_t limit)
{
    size_t length = 0;
    while (length < limit && text[length] != 0)
        ++length;
    return length;
}

void CopyUnits(wchar_t* dest, const wchar_t* text, size_t count) { std::copy_n(text, count, dest); }
void CopyUnits(wchar_t* dest, const char* text, size_t count)
{
    std::transform(text, text + count, dest, WidenLogChar);
}

void CloseAndClear(HANDLE& handle)
{
    if (handle != nullptr)
        CloseHandle(handle);
    handle = nullptr;
}

} // namespace

void log_channel::AddLinesToList(HWND list, wchar_t* text, size_t length)
{
    wchar_t* line = text;
    for (wchar_t* p = text; p <= text + length; ++p) {
        const bool lineEnd = p == text + length || *p == L'\n';
        if (!lineEnd)
            continue;
        if (p < text + length)
            *p = 0;
        if (p > line && !SendMessageTimeoutW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line),
                                             SMTO_ABORTIFHUNG, kListAddTimeoutMs, nullptr))
            return;
        line = p + 1;
    }
}

KRV_Log::~KRV_Log()
{
    CloseAndClear(event);
    if (view != nullptr)
        UnmapViewOfFile(view);
    view = nullptr;
    CloseAndClear(mapping);
    CloseAndClear(lock);
}

void KRV_Log::Write(const char* text) { Append(text); }
void KRV_Log::Write(const wchar_t* text) { Append(text); }

template <typename Char>
void KRV_Log::Append(const Char* text)
{
    if (text == nullptr)
        return;
    MeteredScope metered(g_logWriteCost);
    const size_t length = BoundedLength(text, kBufferUnits);
    const size_t units = length + 1;
    if (units > kBufferUnits)
        return;
    // The program's own copy does not depend on a viewer being there.
    KeepRecentLogText(text, length);
    const HWND viewer = FindWindowW(nullptr, kViewerTitle);
    if (viewer == nullptr)
        return;
    const bool endsLine = std::find(text, text + length, Char('\n')) != text + length;

    if (!OpenView() || !OpenLock())
        return;
    const DWORD wait = WaitForSingleObject(lock, kLockWaitMs);
    // An abandoned lock means a viewer died holding it; the buffer is still ours to use.
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED)
        return;

    // Another process may have left the buffer unterminated; the last unit is
    // never part of a valid string, so terminating there changes nothing else.
    view[kBufferUnits - 1] = 0;
    size_t pending = std::wcslen(view);
    if (pending + units > kBufferUnits) {
        // No room: hand the pending text straight to the viewer's list box.
        // A viewer that hangs loses it, and this writer goes on.
        AddLinesToList(GetDlgItem(viewer, kViewerListId), view, pending);
        view[0] = 0;
        pending = 0;
    }
    CopyUnits(view + pending, text, units);
    ReleaseMutex(lock);

    if (endsLine)
        WakeViewer();
}

bool KRV_Log::OpenView()
{
    if (view != nullptr)
        return true;
    size = kBufferBytes;
    if (mapping == nullptr)
        mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, kMapName);
    if (mapping == nullptr)
        return false;
    view = static_cast<wchar_t*>(MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, size));
    return view != nullptr;
}

bool KRV_Log::OpenLock()
{
    if (lock == nullptr)
        lock = CreateMutexW(nullptr, FALSE, kLockName);
    return lock != nullptr;
}

void KRV_Log::WakeViewer()
{
    if (event == nullptr)
        event = CreateEventW(nullptr, FALSE, FALSE, kEventName);
    if (event != nullptr)
        SetEvent(event);
}

void LogPrintf(KRV_Log& log, const char* format, ...)
{
    if (format == nullptr)
        return;
    va_list args;
    va_start(args, format);
    va_list measureArgs;
    va_copy(measureArgs, args);
    // The runtime's positional printf: plain formats behave as with printf.
    const int length = _vscprintf_p(format, measureArgs);
    va_end(measureArgs);

    std::unique_ptr<char[]> text;
    if (length >= 0)
        text.reset(new (std::nothrow) char[static_cast<size_t>(length) + 1]);
    const bool formatted = text && _vsprintf_p(text.get(), static_cast<size_t>(length) + 1, format, args) >= 0;
    va_end(args);

    if (formatted)
        log.Write(text.get());
}
