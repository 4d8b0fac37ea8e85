#pragma once
// What the main window's tests share beside the program fixture.
#include "core/motion_state.h"
#include "core/param_table.h"
#include "core/session_state.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"

#include <algorithm>

using namespace ::testing;

// The first n items, or all of them when there are fewer.
template <typename T>
std::vector<T> First(size_t n, std::vector<T> items)
{
    items.resize(std::min(items.size(), n));
    return items;
}

inline std::string WindowTitle(HWND wnd) { wchar_t t[128] = {}; GetWindowTextW(wnd, t, 128); return Narrow(t); }
