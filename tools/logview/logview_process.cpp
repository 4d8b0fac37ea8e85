#include "tools/logview/logview_process.h"

#include "infra/log.h"

namespace {

constexpr DWORD kPollMs = 10;
constexpr DWORD kCloseWaitMs = 5000;

std::wstring ViewerPath()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"logview.exe";
}

std::string ReadShared(const std::wstring& file)
{
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    std::string content;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(handle, chunk, sizeof chunk, &got, nullptr) && got > 0)
        content.append(chunk, got);
    CloseHandle(handle);
    return content;
}

std::vector<std::string> CompleteLines(const std::string& content)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = content.find('\n'); end != std::string::npos; end = content.find('\n', start)) {
        lines.push_back(content.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace

LogviewProcess::LogviewProcess(std::wstring logFile) : logFile_(std::move(logFile))
{
    std::wstring commandLine = L"\"" + ViewerPath() + L"\" \"" + logFile_ + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
        process_ = {};
}

LogviewProcess::~LogviewProcess()
{
    if (process_.hProcess == nullptr)
        return;
    if (const HWND window = FindOwnWindow())
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, kCloseWaitMs) != WAIT_OBJECT_0)
        TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND LogviewProcess::FindOwnWindow() const
{
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, nullptr, log_channel::kViewerTitle)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process_.dwProcessId)
            return window;
    }
    return nullptr;
}

HWND LogviewProcess::List() const
{
    const HWND window = FindOwnWindow();
    return window != nullptr ? GetDlgItem(window, log_channel::kViewerListId) : nullptr;
}

bool LogviewProcess::WaitUntilReady(DWORD timeoutMs)
{
    if (process_.hProcess == nullptr)
        return false;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (FindOwnWindow() == nullptr) {
        if (GetTickCount64() >= deadline || WaitForSingleObject(process_.hProcess, kPollMs) == WAIT_OBJECT_0)
            return false;
    }
    return true;
}

std::vector<std::string> LogviewProcess::WaitForLines(size_t count, DWORD timeoutMs) const
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        std::vector<std::string> lines = CompleteLines(ReadShared(logFile_));
        if (lines.size() >= count || GetTickCount64() >= deadline)
            return lines;
        Sleep(kPollMs);
    }
}
