#include "tests/homing/homing_fixture.h"

#include "driver/axb400.h"
#include "homing/board_ready.h"
#include "homing/fences.h"
#include "homing/move_status.h"
#include "sim/board/axbsim.h"
#include "tests/support/sim_calls.h"

namespace {

constexpr wchar_t kBoardLockName[] = L"ZEZ_LOCK";
constexpr DWORD kThreadWaitMs = 10000;

constexpr int kUserAreaWords = 256;
constexpr int kMarkerWord = 15;        // item 1000 in its low byte
constexpr uint32_t kMarker = 0x5A;
constexpr int kItem1095Word = 38;      // item 1095 in its high byte
constexpr int kAnalogRefMarkShift = 24 + 3;

} // namespace

OtherLockOwner::OtherLockOwner(Ending ending) : ending_(ending)
{
    acquired_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    finish_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &OtherLockOwner::Run, this, 0, nullptr);
    HANDLE started[] = {acquired_, thread_};
    // The thread either signals that it holds the lock or ends without it.
    WaitForMultipleObjects(2, started, FALSE, kThreadWaitMs);
}

OtherLockOwner::~OtherLockOwner()
{
    Finish();
    CloseHandle(acquired_);
    CloseHandle(finish_);
}

void OtherLockOwner::Finish()
{
    if (!thread_)
        return;
    SetEvent(finish_);
    WaitForSingleObject(thread_, kThreadWaitMs);
    CloseHandle(thread_);
    thread_ = nullptr;
}

DWORD WINAPI OtherLockOwner::Run(void* self)
{
    auto* owner = static_cast<OtherLockOwner*>(self);
    HANDLE lock = CreateMutexW(nullptr, FALSE, kBoardLockName);
    if (!lock || WaitForSingleObject(lock, 0) != WAIT_OBJECT_0)
        return 1;
    owner->holds_ = true;
    SetEvent(owner->acquired_);
    WaitForSingleObject(owner->finish_, INFINITE);
    if (owner->ending_ == Ending::Release)
        ReleaseMutex(lock);
    // Closing the handle does not give up ownership: ending the thread
    // while owning the mutex abandons it.
    CloseHandle(lock);
    return 0;
}

bool AnotherThreadCanTakeBoardLock()
{
    struct Probe {
        static DWORD WINAPI Run(void*)
        {
            HANDLE lock = CreateMutexW(nullptr, FALSE, kBoardLockName);
            if (!lock)
                return 0;
            const DWORD result = WaitForSingleObject(lock, 0);
            const bool taken = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
            if (taken)
                ReleaseMutex(lock);
            CloseHandle(lock);
            return taken ? 1 : 0;
        }
    };
    HANDLE thread = CreateThread(nullptr, 0, &Probe::Run, nullptr, 0, nullptr);
    WaitForSingleObject(thread, kThreadWaitMs);
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    return code == 1;
}

std::vector<std::string> SimCallNames()
{
    std::vector<std::string> names;
    for (const std::string& call : SimCalls())
        names.push_back(call.substr(0, call.find('(')));
    return names;
}

int CountSimCalls(const std::string& prefix) { return static_cast<int>(SimCallsStartingWith(prefix).size()); }

HomingTest::HomingTest()
{
    ResetFences();
    ResetMoveStatus();
    WriteValidUserArea();
    // The settings store creates the base folder but not the one the file
    // sits in; WriteSettingString needs it.
    std::filesystem::create_directories(h.Folder() / L"settings" / L"TavRosen" / L"Settings");
}

void HomingTest::WriteValidUserArea(uint8_t analogRefMarkInvertedMask)
{
    for (int word = 0; word < kUserAreaWords; ++word)
        AxbSim_PokeFlashWord(word, 0);
    AxbSim_PokeFlashWord(kMarkerWord, kMarker);
    AxbSim_PokeFlashWord(kItem1095Word, static_cast<uint32_t>(analogRefMarkInvertedMask & 0x0F) << kAnalogRefMarkShift);
}

void HomingTest::ConnectBoard()
{
    ASSERT_EQ(AXB_OpenDrv(), 1);
    ASSERT_TRUE(IsAXBBoardLoaded(true));
    AxbSim_ClearCallLog();
    h.Log().Clear();
}

std::vector<std::string> HomingTest::LogLinesStartingWith(const std::string& prefix)
{
    std::vector<std::string> matching;
    for (const std::string& line : h.Log().Lines())
        if (line.rfind(prefix, 0) == 0)
            matching.push_back(line);
    return matching;
}
