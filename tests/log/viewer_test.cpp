#include "infra/log.h"
#include "tests/support/log_capture.h"
#include "tools/logview/logview_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

using namespace log_channel;
using Lines = std::vector<std::string>;

namespace {

constexpr DWORD kViewerTimeoutMs = 10000;

// Lines of 100 units with their line feed, 60 of them: more than the buffer holds.
Lines OverfillingLines()
{
    Lines lines;
    for (int i = 0; i < 60; ++i) {
        std::string line = "overfill " + std::to_string(i);
        line.resize(99, '-');
        lines.push_back(line);
    }
    return lines;
}

void WriteLines(KRV_Log& log, const Lines& lines)
{
    for (const std::string& line : lines)
        log.Write((line + "\n").c_str());
}

// Holds the channel's lock on the calling thread, keeping every viewer from draining.
class HeldLock {
public:
    HeldLock() : lock_(OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kLockName))
    {
        EXPECT_EQ(WaitForSingleObject(lock_, kViewerTimeoutMs), WAIT_OBJECT_0);
    }
    ~HeldLock()
    {
        ReleaseMutex(lock_);
        CloseHandle(lock_);
    }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;

private:
    HANDLE lock_;
};

TEST(LogDrain, LeavesAnUnfinishedLineForTheWriterToComplete)
{
    LogCapture capture;
    KRV_Log log;
    log.Write("first\nsec");
    EXPECT_EQ(capture.Lines(), Lines{"first"});
    log.Write("ond\n");
    EXPECT_EQ(capture.Lines(), (Lines{"first", "second"}));
    capture.Clear();
    log.Write("third\n");
    EXPECT_EQ(capture.Lines(), Lines{"third"});
    EXPECT_TRUE(capture.HasLine("third"));
    EXPECT_FALSE(capture.HasLine("thir"));
}

// The writer flushes into the viewer's list box while it holds the lock the
// viewer is waiting for; the viewer has to serve the flush while it waits.
TEST(LogDrain, ServesAWriterFlushingIntoItsListWhileWaitingForTheLock)
{
    LogCapture capture;
    const Lines expected = OverfillingLines();
    std::promise<void> lockHeld;
    std::future<void> writer = std::async(std::launch::async, [&] {
        HeldLock held;
        lockHeld.set_value();
        KRV_Log log;
        WriteLines(log, expected);
    });
    lockHeld.get_future().wait();
    const Lines lines = capture.Lines();
    // Should the drain have given up, the writer still waits for its flush.
    while (writer.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    }
    EXPECT_EQ(lines, expected);
}

// A file in the temporary folder, deleted before and after use; the blank
// in its name checks that logview takes a quoted path.
class TempLogFile {
public:
    explicit TempLogFile(const wchar_t* name)
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        path = std::wstring(temp) + name + L" " + std::to_wstring(GetCurrentProcessId()) + L".txt";
        DeleteFileW(path.c_str());
    }
    ~TempLogFile() { DeleteFileW(path.c_str()); }
    TempLogFile(const TempLogFile&) = delete;
    TempLogFile& operator=(const TempLogFile&) = delete;

    std::wstring path;
};

std::wstring ItemText(HWND list, int index)
{
    std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, index, 0)), L'\0');
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return text;
}

TEST(Logview, AppendsEveryLineToItsFileAsUtf8IncludingFlushedOnes)
{
    const TempLogFile file(L"logview lines");
    LogviewProcess viewer(file.path);
    ASSERT_TRUE(viewer.WaitUntilReady(kViewerTimeoutMs));
    KRV_Log log;
    Lines expected = OverfillingLines();
    {
        HeldLock held;
        WriteLines(log, expected);
    }
    log.Write(L"20 \u00b0C, 5 \u00b5m\n");
    expected.push_back("20 \xc2\xb0" "C, 5 \xc2\xb5m");
    EXPECT_EQ(viewer.WaitForLines(expected.size(), kViewerTimeoutMs), expected);
}

TEST(Logview, KeepsTheNewestLinesInItsListAndEveryLineInItsFile)
{
    const TempLogFile file(L"logview trim");
    LogviewProcess viewer(file.path);
    ASSERT_TRUE(viewer.WaitUntilReady(kViewerTimeoutMs));
    KRV_Log log;
    Lines expected;
    for (int i = 0; i < kLogviewMaxLines + 100; ++i) {
        expected.push_back("line " + std::to_string(i));
        WriteLines(log, {expected.back()});
    }
    // The list catches up on its refresh timer, trimming on the way.
    const HWND list = viewer.List();
    const std::wstring newest = L"line " + std::to_wstring(kLogviewMaxLines + 99);
    int count = 0;
    for (int tries = 0; tries < 500; ++tries, Sleep(10)) {
        count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        if (count > 0 && count <= kLogviewMaxLines && ItemText(list, count - 1) == newest)
            break;
    }
    EXPECT_GT(count, 0);
    EXPECT_LE(count, kLogviewMaxLines);
    EXPECT_EQ(ItemText(list, count - 1), newest);
    EXPECT_EQ(viewer.WaitForLines(expected.size(), kViewerTimeoutMs), expected);
}

} // namespace
