#pragma once
// The log channel. All diagnostic text goes to a separate viewer program
// through a shared-memory buffer of UTF-16 text, a mutex guarding it and an
// event that wakes the viewer when a line is complete. The viewer is found
// by its window title on every write; with no viewer running, a write costs
// one window lookup and the text is lost.
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace log_channel {

// The names and sizes every writer and viewer agree on.
inline constexpr wchar_t kViewerTitle[] = L"Tavrosen Log";
inline constexpr int kViewerListId = 123;
inline constexpr wchar_t kMapName[] = L"KRV_LOG_MAPNAME";
inline constexpr wchar_t kLockName[] = L"KRV_LOG_MAPLOCKNAME";
inline constexpr wchar_t kEventName[] = L"KRV_LOG_EVENTNAME";
inline constexpr uint32_t kBufferBytes = 10000;
// One NUL-terminated string: text plus terminator never exceed this.
inline constexpr size_t kBufferUnits = kBufferBytes / sizeof(wchar_t);
inline constexpr DWORD kLockWaitMs = 5000;
// How long a list box of another thread may take to accept one line.
inline constexpr UINT kListAddTimeoutMs = 1000;

// Adds each non-empty line of text[0..length) to the list box as an item of
// its own, oldest first. The text must end in a line feed or be followed by
// a terminator; its line feeds are overwritten with terminators on the way.
// A list box of another thread that does not accept a line within
// kListAddTimeoutMs (its viewer hangs) gets none of the lines after it.
void AddLinesToList(HWND list, wchar_t* text, size_t length);

} // namespace log_channel

// The writer's end of the channel. Its binary layout is part of the interface
// and must stay as it is: no base class, the narrow Write in virtual slot 0,
// the wide one in slot 1, then the fields in the order below.
class KRV_Log final {
public:
    constexpr KRV_Log() = default;
    ~KRV_Log();
    KRV_Log(const KRV_Log&) = delete;
    KRV_Log& operator=(const KRV_Log&) = delete;

    // Appends the text; a text with a line feed wakes the viewer. Texts of
    // 5000 characters or more are dropped whole.
#ifdef _MSC_VER
    // The Microsoft ABI lays out overloaded virtuals in reverse order.
    virtual void Write(const wchar_t* text);
    virtual void Write(const char* text);
#else
    virtual void Write(const char* text);
    virtual void Write(const wchar_t* text);
#endif

private:
    template <typename Char>
    void Append(const Char* text);
    bool OpenView();
    bool OpenLock();
    void WakeViewer();

    HANDLE lock = nullptr;
    HANDLE mapping = nullptr;
    wchar_t* view = nullptr;
    uint32_t size = 0;
    HANDLE event = nullptr;
};

// The one log of the process; usable from the first static initialiser on.
extern KRV_Log g_log;

// printf-style logging; arguments may be referenced by position ("%2$s").
// A format the runtime rejects writes nothing.
void LogPrintf(KRV_Log& log, const char* format, ...);
