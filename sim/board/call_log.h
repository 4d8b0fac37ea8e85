#pragma once
// Every driver call the program makes, one line each, in the form
//   AXB_GetParam(0,22,&219)=1
// (see README.md): kept in memory for tests and, when AXBSIM_TRACE names a
// file, appended there with the board's time in milliseconds in front.
// The trace also receives the board's own messages, marked "#".
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

class CallLog {
public:
    CallLog() = default;
    ~CallLog();
    CallLog(const CallLog&) = delete;
    CallLog& operator=(const CallLog&) = delete;

    // An empty path ends tracing; false when the file cannot be opened.
    bool TraceTo(const std::wstring& path);
    void Record(std::string line, uint64_t nowMs);
    void Note(const std::string& message, uint64_t nowMs);

    void Clear() { lines_.clear(); }
    size_t Count() const { return lines_.size(); }
    // All lines, each ending in '\n'.
    std::string Text() const;

private:
    void Trace(const std::string& text, uint64_t nowMs);

    std::deque<std::string> lines_;
    void* trace_ = nullptr; // HANDLE of the open trace file
};
