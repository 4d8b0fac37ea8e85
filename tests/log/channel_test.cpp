// The log channel between the program's writers and a viewer: a shared
// buffer that can fill up, a viewer that can be missing, hung or dead, and
// the layout other programs of the family rely on.
#include "infra/log.h"
#include "tests/support/log_capture.h"
#include "tools/logview/logview_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <future>
#include <thread>

using namespace log_channel;
using Lines = std::vector<std::string>;

namespace {

// Looks at the channel from outside, as a second viewer would, without
// draining it.
class ChannelProbe {
public:
    ~ChannelProbe()
    {
        UnmapViewOfFile(view_);
        CloseHandle(mapping_);
        CloseHandle(event_);
    }
    std::wstring Pending() const { return view_ != nullptr ? std::wstring(view_) : L"<no buffer>"; }
    // Consumes a signal, as the viewer's wait would.
    bool TakeSignal() const { return event_ != nullptr && WaitForSingleObject(event_, 0) == WAIT_OBJECT_0; }

private:
    HANDLE mapping_ = OpenFileMappingW(FILE_MAP_READ, FALSE, kMapName);
    HANDLE event_ = OpenEventW(SYNCHRONIZE, FALSE, kEventName);
    const wchar_t* view_ = static_cast<const wchar_t*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, kBufferBytes));
};

bool NamedObjectsExist()
{
    bool exists = false;
    for (HANDLE handle : {OpenMutexW(SYNCHRONIZE, FALSE, kLockName), OpenFileMappingW(FILE_MAP_READ, FALSE, kMapName),
                          OpenEventW(SYNCHRONIZE, FALSE, kEventName)}) {
        exists = exists || handle != nullptr;
        CloseHandle(handle);
    }
    return exists;
}

int ListCount(const LogCapture& capture) { return static_cast<int>(SendMessageW(capture.List(), LB_GETCOUNT, 0, 0)); }

class LogWriter : public ::testing::Test {
protected:
    LogCapture capture;
    KRV_Log log;
    ChannelProbe channel;
};

TEST_F(LogWriter, AcceptsUpTo4999CharactersAndDropsLongerTexts)
{
    log.Write(std::string(4999, 'n').c_str());
    EXPECT_EQ(channel.Pending(), std::wstring(4999, L'n'));
    log.Write(std::string(5000, 'x').c_str());
    log.Write(std::wstring(5000, L'x').c_str());
    EXPECT_EQ(channel.Pending(), std::wstring(4999, L'n'));
    EXPECT_EQ(ListCount(capture), 0) << "a dropped text must not flush";

    log.Write(std::wstring(4999, L'w').c_str());
    EXPECT_EQ(channel.Pending(), std::wstring(4999, L'w'));
    EXPECT_EQ(capture.Lines(), Lines{std::string(4999, 'n')});
}

TEST(LogFlush, MovesPendingLinesIntoTheListOnlyWhenTheTextWouldNotFit)
{
    for (const size_t length : {999u, 1000u}) {
        SCOPED_TRACE(length);
        const bool flushes = length == 1000;
        LogCapture capture;
        KRV_Log log;
        ChannelProbe channel;
        // 39 full lines of 100 units and an unfinished one of 100: 4000 units.
        Lines pending;
        for (int i = 0; i < 39; ++i) {
            pending.push_back("line " + std::to_string(i));
            pending.back().resize(99, '.');
            log.Write((pending.back() + "\n").c_str());
        }
        pending.emplace_back(100, 'p');
        log.Write(pending.back().c_str());
        const std::wstring before = channel.Pending();
        ASSERT_EQ(before.size(), 4000u);

        log.Write(std::string(length, 'b').c_str());
        EXPECT_EQ(ListCount(capture), flushes ? 40 : 0) << "the flush must reach the list before the write returns";
        EXPECT_EQ(channel.Pending(), (flushes ? L"" : before) + std::wstring(length, L'b'));
        EXPECT_EQ(capture.Lines(), flushes ? pending : Lines(pending.begin(), pending.end() - 1));
    }
}

TEST_F(LogWriter, FlushMakesNoItemsOfEmptyLines)
{
    log.Write("\na\n\nb");
    log.Write(std::string(4995, 'c').c_str());
    EXPECT_EQ(capture.Lines(), (Lines{"a", "b"}));
}

// A hung viewer: its window thread stops taking messages. The writer runs on
// a thread of its own, so that a flush that waits for ever fails the test
// instead of hanging it.
TEST(LogFlush, AViewerThatStopsTakingMessagesHoldsUpTheWriterOnlyBriefly)
{
    const HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread viewer([&] {
        LogCapture hung;
        SetEvent(ready);
        WaitForSingleObject(release, INFINITE);
        hung.Lines();   // a writer still waiting for its flush is served before the viewer goes
    });
    WaitForSingleObject(ready, INFINITE);
    ChannelProbe channel;
    KRV_Log log;
    const std::string overflow = std::string(200, 'o') + "\n";
    std::future<void> writer = std::async(std::launch::async, [&] {
        // 49 lines of 100 units: a flush of 49 lines, each of which could wait.
        for (int i = 0; i < 49; ++i)
            log.Write((std::string(99, static_cast<char>('a' + i % 26)) + "\n").c_str());
        log.Write(overflow.c_str());
    });
    const bool returned = writer.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    // The lock was given back: a writer on another thread appends at once.
    KRV_Log other;
    other.Write("goes on\n");
    const std::wstring pending = channel.Pending();
    SetEvent(release);
    viewer.join();
    writer.wait();
    CloseHandle(ready);
    CloseHandle(release);

    ASSERT_TRUE(returned) << "the flush into a hung viewer did not give up";
    EXPECT_EQ(pending, std::wstring(overflow.begin(), overflow.end()) + L"goes on\n");
}

TEST_F(LogWriter, NarrowAndWideWritesMakeOneLineThatSignalsOnce)
{
    log.Write("axis ");
    log.Write(L"2");
    EXPECT_FALSE(channel.TakeSignal()) << "no line is complete yet";
    log.Write("\n");
    EXPECT_TRUE(channel.TakeSignal());
    EXPECT_FALSE(channel.TakeSignal());
    EXPECT_EQ(channel.Pending(), L"axis 2\n");

    log.Write(L"x\ny");
    EXPECT_TRUE(channel.TakeSignal());
    EXPECT_EQ(capture.Lines(), (Lines{"axis 2", "x"})) << "an unfinished line stays for the writer to complete";
    log.Write("\n");
    EXPECT_TRUE(channel.TakeSignal());
    EXPECT_EQ(capture.Lines(), (Lines{"axis 2", "x", "y"}));
}

TEST_F(LogWriter, LockAbandonedByADeadViewerStillLetsWritesAppend)
{
    // Each thread takes the lock with a handle of its own; the first ends holding it.
    auto inOtherThread = [](DWORD wait) {
        DWORD result = WAIT_FAILED;
        std::thread([&] {
            const HANDLE lock = OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kLockName);
            result = WaitForSingleObject(lock, wait);
            if (wait == 0)
                ReleaseMutex(lock);
            CloseHandle(lock);
        }).join();
        return result;
    };
    inOtherThread(INFINITE);
    log.Write("after\n");
    EXPECT_EQ(channel.Pending(), L"after\n");
    EXPECT_EQ(inOtherThread(0), WAIT_OBJECT_0) << "the writer must release the lock it took over";
}

TEST_F(LogWriter, LogPrintfFormatsWithPositionalArgumentsAndWritesNothingOnFailure)
{
    LogPrintf(log, "%2$s axis %1$d at %3$.3f mm, %4$d%%\n", 2, "Goto", 1.5, 50);
    LogPrintf(log, "%s\n", std::string(4998, 'x').c_str());
    LogPrintf(log, "%s\n", std::string(4999, 'y').c_str());
    EXPECT_EQ(capture.Lines(), (Lines{"Goto axis 2 at 1.500 mm, 50%", std::string(4998, 'x')}));
}

// Other programs call the writer through its virtual slots and read its
// fields: no base class, narrow Write first, then lock, mapping, view, size
// and event.
TEST_F(LogWriter, KeepsItsBinaryLayout)
{
    struct Layout {
        void** slots;
        HANDLE lock, mapping;
        wchar_t* view;
        uint32_t size;
        HANDLE event;
    };
    static_assert(sizeof(KRV_Log) == sizeof(Layout));
    KRV_Log fresh;
    Layout f;
    std::memcpy(&f, &fresh, sizeof f);
    reinterpret_cast<void (*)(KRV_Log*, const char*)>(f.slots[0])(&fresh, "slot 0, ");
    reinterpret_cast<void (*)(KRV_Log*, const wchar_t*)>(f.slots[1])(&fresh, L"slot 1\n");
    std::memcpy(&f, &fresh, sizeof f);
    EXPECT_EQ(f.size, kBufferBytes);
    EXPECT_EQ(std::wstring(f.view), L"slot 0, slot 1\n");
    EXPECT_EQ(WaitForSingleObject(f.event, 0), WAIT_OBJECT_0);
    const void* mapped = MapViewOfFile(f.mapping, FILE_MAP_READ, 0, 0, kBufferBytes);
    EXPECT_NE(mapped, nullptr) << "mapping must be the buffer's file mapping";
    UnmapViewOfFile(mapped);
    EXPECT_EQ(WaitForSingleObject(f.lock, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(f.lock)) << "lock must be a mutex";
}

TEST(LogWithoutViewer, WritesLeaveNoNamedObjectsBehind)
{
    ASSERT_EQ(FindWindowW(nullptr, kViewerTitle), nullptr);
    ASSERT_FALSE(NamedObjectsExist()) << "a viewer or writer of another process is still running";
    {
        KRV_Log log;
        log.Write("narrow\n");
        log.Write(L"wide\n");
        LogPrintf(log, "%d\n", 5);
        LogPrintf(g_log, "%s\n", "global");
        EXPECT_FALSE(NamedObjectsExist());
        LogCapture viewer;
        log.Write("one\n");
        EXPECT_EQ(viewer.Lines(), Lines{"one"});
    }
    EXPECT_FALSE(NamedObjectsExist()) << "writer and viewer must close their handles";
}

// More than the buffer holds, written while the lock keeps the viewer from
// draining: the writer flushes into the viewer's list, and the viewer, waiting
// for the lock, has to serve that flush.
TEST(Logview, AppendsEveryLineToItsFileAsUtf8IncludingFlushedOnes)
{
    constexpr DWORD kViewerTimeoutMs = 10000;
    // The blank in the file's name checks that logview takes a quoted path.
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       (L"logview lines " + std::to_wstring(GetCurrentProcessId()) + L".txt");
    std::filesystem::remove(file);
    {
        LogviewProcess viewer(file.wstring());
        ASSERT_TRUE(viewer.WaitUntilReady(kViewerTimeoutMs));
        KRV_Log log;
        Lines written;
        const HANDLE lock = OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kLockName);
        EXPECT_EQ(WaitForSingleObject(lock, kViewerTimeoutMs), WAIT_OBJECT_0);
        for (int i = 0; i < 60; ++i) {
            written.push_back("overfill " + std::to_string(i));
            written.back().resize(99, '-');
            log.Write((written.back() + "\n").c_str());
        }
        ReleaseMutex(lock);
        CloseHandle(lock);
        log.Write(L"20 \u00b0C, 5 \u00b5m\n");
        written.push_back("20 \xc2\xb0" "C, 5 \xc2\xb5m");
        EXPECT_EQ(viewer.WaitForLines(written.size(), kViewerTimeoutMs), written);
    }
    std::filesystem::remove(file);
}

} // namespace
