#pragma once
// A file that is replaced whole or not at all: the new content goes to a
// temporary file beside the target, which takes the target's place only when
// every byte reached the disk. A failure removes the temporary file and
// leaves the target as it was; Error() keeps the system's reason.
#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

class ReplacementFile {
public:
    explicit ReplacementFile(const std::wstring& target);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }
    bool Write(std::string_view content);
    bool Commit();
    // The system error of the first step that failed (0 while none did).
    DWORD Error() const { return error_; }

private:
    bool Close();
    bool Failed();

    std::wstring target_;
    std::wstring temp_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    bool committed_ = false;
    DWORD error_ = 0;
};

// The system's text for an error code, without its line end.
std::wstring SystemErrorText(DWORD error);

// Test hook: a volume with this many bytes free for replacement files
// (SIZE_MAX, the default: the real disk decides).
void SetReplacementSpaceForTests(size_t bytes);
