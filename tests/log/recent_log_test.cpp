// The program's own recent log: what it wrote, whether a viewer runs or not,
// line by line as a viewer lists it, the newest 20 000 lines.
#include "infra/log.h"
#include "infra/log_ring.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RecentLog, KeepsTheLinesAViewerWouldListWithoutAViewer)
{
    ResetRecentLog();
    ASSERT_EQ(FindWindowW(nullptr, log_channel::kViewerTitle), nullptr);
    g_log.Write("axis ");
    g_log.Write(L"2 \u00b5m");
    g_log.Write("\n\n\nnext\nunfinished");
    g_log.Write(std::string(5000, 'x').c_str());   // the channel drops it whole
    EXPECT_EQ(RecentLogLines(), (std::vector<std::wstring>{L"axis 2 \u00b5m", L"next"}));
}

TEST(RecentLog, TheNewestLinesStay)
{
    ResetRecentLog();
    for (size_t i = 0; i < kRecentLogLines + 3; ++i)
        LogPrintf(g_log, "line %zu\n", i);
    const std::vector<std::wstring> lines = RecentLogLines();
    ASSERT_EQ(lines.size(), kRecentLogLines);
    EXPECT_EQ(lines.front(), L"line 3");
    EXPECT_EQ(lines.back(), L"line " + std::to_wstring(kRecentLogLines + 2));
}

} // namespace
