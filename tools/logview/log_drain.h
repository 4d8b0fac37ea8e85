#pragma once
// The viewer's end of the log channel, shared by logview.exe and the
// in-process viewer of the tests.
#include <windows.h>

#include <string>
#include <string_view>

class LogDrain {
public:
    LogDrain() = default;
    ~LogDrain();
    LogDrain(const LogDrain&) = delete;
    LogDrain& operator=(const LogDrain&) = delete;

    // Creates the buffer, its lock and the wake-up event, or opens them when a
    // writer made them first. False if any of them is unavailable.
    bool Open();
    // Signalled (auto-reset) after each write that completes a line.
    HANDLE LinesReady() const { return event_; }
    // Moves every complete line out of the buffer into the list box, oldest
    // first; an unfinished last line stays for the writer to complete. Call
    // it on the thread that owns the list box: a writer that holds the lock
    // may be flushing into that list box and waiting for this thread, so the
    // wait for the lock serves such messages. False if the lock was not
    // obtained.
    bool DrainInto(HWND list);
    // Throws away whatever is pending, complete or not.
    bool Discard();

private:
    bool Lock();

    HANDLE mapping_ = nullptr;
    wchar_t* view_ = nullptr;
    HANDLE lock_ = nullptr;
    HANDLE event_ = nullptr;
};

// Lines travel as UTF-16; files and test assertions want UTF-8.
std::string ToUtf8(std::wstring_view text);
