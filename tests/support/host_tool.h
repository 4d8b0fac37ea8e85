#pragma once
// Linux programs of the host, run from a test under Wine: Wine starts them,
// but gives no process handle, so a script reports its exit code in a file.
#include <filesystem>
#include <string>

// Wine's own path conversion; empty when it is not available.
std::string UnixPath(const std::filesystem::path& path);

// Runs the shell script text with /bin/sh in folder (a Windows path) and
// waits at most timeoutMs real milliseconds; its exit code, -1 when it did
// not end in time.
int RunHostScript(const std::filesystem::path& folder, const std::string& script, unsigned timeoutMs);
