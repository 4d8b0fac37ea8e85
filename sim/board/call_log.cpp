#include "call_log.h"

#include <windows.h>

namespace {

// A program left running for days must not eat the memory: the oldest
// lines give way.
constexpr size_t kMaxLines = 1000000;

} // namespace

CallLog::~CallLog() { TraceTo({}); }

bool CallLog::TraceTo(const std::wstring& path)
{
    if (trace_)
        CloseHandle(trace_);
    trace_ = nullptr;
    if (path.empty())
        return true;
    const HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    trace_ = file;
    return true;
}

void CallLog::Record(std::string line, uint64_t nowMs)
{
    Trace(line, nowMs);
    if (lines_.size() == kMaxLines)
        lines_.pop_front();
    lines_.push_back(std::move(line));
}

void CallLog::Note(const std::string& message, uint64_t nowMs) { Trace("# " + message, nowMs); }

void CallLog::Trace(const std::string& text, uint64_t nowMs)
{
    if (!trace_)
        return;
    const std::string line = std::to_string(nowMs) + " " + text + "\r\n";
    DWORD written = 0;
    WriteFile(trace_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

std::string CallLog::Text() const
{
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += '\n';
    }
    return text;
}
