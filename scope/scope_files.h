#pragma once
// The Scope's files: the common dialogs for captures and pictures, and
// whole-file reads and writes.
#include <windows.h>

#include <optional>
#include <string>

enum class ScopeFileKind { kCapture, kPicture, kResponseRuns };

// The path the technician chose; none when the dialog was cancelled.
std::optional<std::wstring> AskScopeFileName(HWND owner, ScopeFileKind kind, bool save);

// The file's bytes; none when it cannot be read or is larger than limit.
std::optional<std::string> ReadScopeFile(const std::wstring& path, size_t limit);
bool WriteScopeFile(const std::wstring& path, const std::string& bytes);

// The plot drawn at width x height into a 24-bit BMP.
std::string ScopeViewBitmap(int width, int height, int dpi);
