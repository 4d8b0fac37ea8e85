#pragma once
// logview.exe as a child process appending to a file, for the tests and
// benchmarks that follow log lines all the way into the viewer.
#include <windows.h>

#include <string>
#include <vector>

// logview keeps this many of the newest lines in its list; its file gets every line.
inline constexpr int kLogviewMaxLines = 50000;

class LogviewProcess {
public:
    // Starts the logview.exe that sits beside the running program.
    explicit LogviewProcess(std::wstring logFile);
    // Closes the viewer's window and waits for it to end.
    ~LogviewProcess();
    LogviewProcess(const LogviewProcess&) = delete;
    LogviewProcess& operator=(const LogviewProcess&) = delete;

    // True once writers find this viewer's window.
    bool WaitUntilReady(DWORD timeoutMs);
    // The viewer's list box; null while it has no window.
    HWND List() const;
    // The complete lines of the file (UTF-8, no line ends), once it holds at
    // least `count` of them or the time is up.
    std::vector<std::string> WaitForLines(size_t count, DWORD timeoutMs) const;

private:
    HWND FindOwnWindow() const;

    std::wstring logFile_;
    PROCESS_INFORMATION process_{};
};
