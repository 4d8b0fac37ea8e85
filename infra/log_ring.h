#pragma once
// The program's own recent log: the last lines it wrote through the log
// channel, kept in memory whether a viewer runs or not, so that a service
// report carries the log even when no viewer ever ran. A line is what a
// viewer lists: the text between two line feeds, empty pieces left out; a
// line built from several writes is one line once its line feed arrives.
#include <cstddef>
#include <string>
#include <vector>

inline constexpr size_t kRecentLogLines = 20000;

// The log channel hands over every text it accepts (at most 4999
// characters, so the ring never grows beyond its lines).
void KeepRecentLogText(const char* text, size_t length);
void KeepRecentLogText(const wchar_t* text, size_t length);

// Oldest first; an unfinished last line is not among them.
std::vector<std::wstring> RecentLogLines();

// A narrow log byte as the channel and the ring widen it: one character of
// the current locale.
wchar_t WidenLogChar(char c);

void ResetRecentLog();
