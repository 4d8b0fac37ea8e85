#include "infra/log.h"
#include "tests/log/channel_probe.h"
#include "tests/support/log_capture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

using namespace log_channel;
using Lines = std::vector<std::string>;

namespace {

class LogWriter : public ::testing::Test {
protected:
    int ListCount() const { return static_cast<int>(SendMessageW(capture.List(), LB_GETCOUNT, 0, 0)); }

    // 39 full lines of 100 units and an unfinished one of 100: 4000 units.
    Lines Pend4000()
    {
        Lines written;
        for (int i = 0; i < 39; ++i) {
            std::string line = "line " + std::to_string(i);
            line.resize(99, '.');
            log.Write((line + "\n").c_str());
            written.push_back(line);
        }
        written.emplace_back(100, 'p');
        log.Write(written.back().c_str());
        EXPECT_EQ(channel.Pending().size(), 4000u);
        return written;
    }

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
    EXPECT_EQ(ListCount(), 0) << "a dropped text must not flush";

    log.Write(std::wstring(4999, L'w').c_str());
    EXPECT_EQ(channel.Pending(), std::wstring(4999, L'w'));
    EXPECT_EQ(capture.Lines(), Lines{std::string(4999, 'n')});
}

TEST_F(LogWriter, AppendsWithoutFlushWhenTextAndTerminatorFillTheBuffer)
{
    Pend4000();
    log.Write(std::string(999, 'a').c_str());
    EXPECT_EQ(ListCount(), 0);
    EXPECT_EQ(channel.Pending().size(), 4999u);
}

TEST_F(LogWriter, FlushesPendingTextIntoTheListBeforeAppendingWhatDoesNotFit)
{
    const Lines pending = Pend4000();
    log.Write(std::string(1000, 'b').c_str());
    EXPECT_EQ(ListCount(), 40) << "the flush must reach the list box before the write returns";
    EXPECT_EQ(channel.Pending(), std::wstring(1000, L'b'));
    EXPECT_EQ(capture.Lines(), pending);
}

TEST_F(LogWriter, FlushMakesNoItemsOfEmptyLines)
{
    log.Write("\na\n\n\nb");
    log.Write(std::string(4995, 'c').c_str());
    EXPECT_EQ(capture.Lines(), (Lines{"a", "b"}));
}

TEST_F(LogWriter, OnlyWritesCarryingALineFeedWakeTheViewerOnceEach)
{
    log.Write("axis ");
    EXPECT_FALSE(channel.TakeSignal());
    log.Write(L"2");
    EXPECT_FALSE(channel.TakeSignal());
    log.Write("\n");
    EXPECT_TRUE(channel.TakeSignal());
    EXPECT_FALSE(channel.TakeSignal());
    EXPECT_EQ(channel.Pending(), L"axis 2\n");

    log.Write(L"x\ny\n");
    EXPECT_TRUE(channel.TakeSignal());
    log.Write("z\n");
    EXPECT_TRUE(channel.TakeSignal());
    EXPECT_EQ(capture.Lines(), (Lines{"axis 2", "x", "y", "z"}));
}

TEST_F(LogWriter, LockAbandonedByADeadViewerStillLetsWritesAppend)
{
    std::thread([] {
        const HANDLE lock = OpenMutexW(SYNCHRONIZE, FALSE, kLockName);
        WaitForSingleObject(lock, INFINITE);
        CloseHandle(lock);
    }).join();

    log.Write("after\n");
    EXPECT_EQ(channel.Pending(), L"after\n");
    DWORD otherThreadWait = WAIT_FAILED;
    std::thread([&] {
        const HANDLE lock = OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kLockName);
        otherThreadWait = WaitForSingleObject(lock, 0);
        ReleaseMutex(lock);
        CloseHandle(lock);
    }).join();
    EXPECT_EQ(otherThreadWait, WAIT_OBJECT_0) << "the writer must release the lock it took over";
    log.Write("again\n");
    EXPECT_EQ(capture.Lines(), (Lines{"after", "again"}));
}

TEST_F(LogWriter, LogPrintfFormatsWithPositionalArgumentsAndWritesNothingOnFailure)
{
    LogPrintf(log, "%2$s axis %1$d at %3$.3f mm\n", 2, "Goto", 1.5);
    LogPrintf(log, "%s=%d%%\n", "velocity", 50);
    LogPrintf(log, "%ls\n", L"\x4e2d");
    LogPrintf(log, "%s\n", std::string(4998, 'x').c_str());
    LogPrintf(log, "%s\n", std::string(4999, 'y').c_str());
    EXPECT_EQ(capture.Lines(), (Lines{"Goto axis 2 at 1.500 mm", "velocity=50%", std::string(4998, 'x')}));
}

TEST_F(LogWriter, KeepsItsBinaryLayout)
{
    struct Fields {
        HANDLE lock;
        HANDLE mapping;
        wchar_t* view;
        uint32_t size;
        HANDLE event;
    };
    KRV_Log fresh;
    const auto fields = [&fresh] {
        Fields f;
        std::memcpy(&f, reinterpret_cast<const char*>(&fresh) + sizeof(void*), sizeof f);
        return f;
    };
    ASSERT_EQ(sizeof(KRV_Log), sizeof(void*) + sizeof(Fields));
    const Fields unused = fields();
    EXPECT_TRUE(unused.lock == nullptr && unused.mapping == nullptr && unused.view == nullptr && unused.event == nullptr);

    void** slots = nullptr;
    std::memcpy(&slots, &fresh, sizeof slots);
    reinterpret_cast<void (*)(KRV_Log*, const char*)>(slots[0])(&fresh, "slot 0, ");
    const Fields partial = fields();
    ASSERT_NE(partial.view, nullptr);
    EXPECT_EQ(partial.size, kBufferBytes);
    EXPECT_EQ(partial.event, nullptr) << "no event before the first line feed";
    const void* mapped = MapViewOfFile(partial.mapping, FILE_MAP_READ, 0, 0, kBufferBytes);
    EXPECT_NE(mapped, nullptr) << "mapping must be the buffer's file mapping";
    UnmapViewOfFile(mapped);
    EXPECT_EQ(WaitForSingleObject(partial.lock, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(partial.lock)) << "lock must be a mutex";

    reinterpret_cast<void (*)(KRV_Log*, const wchar_t*)>(slots[1])(&fresh, L"slot 1\n");
    const Fields full = fields();
    EXPECT_EQ(std::wstring(full.view), L"slot 0, slot 1\n");
    EXPECT_EQ(WaitForSingleObject(full.event, 0), WAIT_OBJECT_0);
}

TEST(LogWithoutViewer, WritesLeaveNoNamedObjectsBehind)
{
    ASSERT_EQ(FindWindowW(nullptr, kViewerTitle), nullptr);
    ASSERT_FALSE(NamedObjectsExist()) << "a viewer or writer of another process is still running";
    KRV_Log log;
    log.Write("narrow\n");
    log.Write(L"wide\n");
    LogPrintf(log, "%d\n", 5);
    LogPrintf(g_log, "%s\n", "global");
    EXPECT_FALSE(NamedObjectsExist());
}

TEST(LogLifecycle, ViewersGetOnlyWhatIsWrittenWhileTheyRun)
{
    {
        KRV_Log log;
        log.Write("before any viewer\n");
        {
            LogCapture first;
            log.Write("one\n");
            log.Write("unfinished");
            EXPECT_EQ(first.Lines(), Lines{"one"});
        }
        log.Write("between viewers\n");
        LogCapture second;
        log.Write("two\n");
        EXPECT_EQ(second.Lines(), Lines{"two"});
    }
    EXPECT_FALSE(NamedObjectsExist()) << "writer and viewer must close their handles";
}

} // namespace
