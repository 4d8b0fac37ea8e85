#include "infra/log.h"
#include "tests/support/log_capture.h"
#include "tools/logview/logview_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>

using namespace log_channel;
using Lines = std::vector<std::string>;

namespace {

constexpr DWORD kViewerTimeoutMs = 10000;

// 60 lines of 100 units with their line feeds, more than the buffer holds,
// written while the lock keeps every viewer from draining: the writer has
// to flush into the viewer's list. `locked` is told once the lock is held.
void OverfillWhileLocked(KRV_Log& log, Lines& written, std::promise<void>* locked = nullptr)
{
    const HANDLE lock = OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kLockName);
    EXPECT_EQ(WaitForSingleObject(lock, kViewerTimeoutMs), WAIT_OBJECT_0);
    if (locked != nullptr)
        locked->set_value();
    for (int i = 0; i < 60; ++i) {
        written.push_back("overfill " + std::to_string(i));
        written.back().resize(99, '-');
        log.Write((written.back() + "\n").c_str());
    }
    ReleaseMutex(lock);
    CloseHandle(lock);
}

// The writer flushes into the viewer's list box while it holds the lock the
// viewer is waiting for; the viewer has to serve the flush while it waits.
TEST(LogDrain, ServesAWriterFlushingIntoItsListWhileWaitingForTheLock)
{
    LogCapture capture;
    Lines written;
    std::promise<void> locked;
    std::future<void> writer = std::async(std::launch::async, [&] {
        KRV_Log log;
        OverfillWhileLocked(log, written, &locked);
    });
    locked.get_future().wait();
    const Lines lines = capture.Lines();
    // Should the drain have given up, the writer still waits for its flush.
    while (writer.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    }
    EXPECT_EQ(lines, written);
}

TEST(Logview, AppendsEveryLineToItsFileAsUtf8IncludingFlushedOnes)
{
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       (L"logview lines " + std::to_wstring(GetCurrentProcessId()) + L".txt");
    std::filesystem::remove(file);
    {
        // The blank in the file's name checks that logview takes a quoted path.
        LogviewProcess viewer(file.wstring());
        ASSERT_TRUE(viewer.WaitUntilReady(kViewerTimeoutMs));
        KRV_Log log;
        Lines expected;
        OverfillWhileLocked(log, expected);
        log.Write(L"20 \u00b0C, 5 \u00b5m\n");
        expected.push_back("20 \xc2\xb0" "C, 5 \xc2\xb5m");
        EXPECT_EQ(viewer.WaitForLines(expected.size(), kViewerTimeoutMs), expected);
    }
    std::filesystem::remove(file);
}

} // namespace
