#pragma once
// The few file and environment services the simulated board needs, on the
// Win32 API.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The value of an environment variable, empty when it is not set.
std::wstring EnvironmentValue(const wchar_t* name);
// The folder of AXB400.dll itself, with a trailing backslash.
std::wstring ModuleFolder();
// The whole file, or nothing with the reason in `error`. Files larger than
// `limit` bytes are refused.
std::optional<std::string> ReadWholeFile(const std::wstring& path, size_t limit, std::string& error);
bool FileExists(const std::wstring& path);
// Replaces the file in one step, so that a crash never leaves half of it.
bool ReplaceFileContents(const std::wstring& path, std::string_view data, std::string& error);
bool DeleteFileIfPresent(const std::wstring& path);
std::string Utf8(const std::wstring& text);
// Writes a line to the process's standard error, when it has one.
void WriteToStderr(std::string_view line);
