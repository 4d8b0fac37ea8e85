#pragma once
// Another program of the family holding one of the shared named mutexes
// ("ZEZ_LOCK", "ZOOM_LOCK"): a thread of its own, with a handle of its own,
// takes it at once and keeps it until the object goes. The constructor
// returns once the thread has tried.
//
//     OtherProgramLock other(L"ZEZ_LOCK");
//     ASSERT_TRUE(other.Holds());
//     ... every locked operation gives up ...
#include <windows.h>

#include <thread>

class OtherProgramLock {
public:
    explicit OtherProgramLock(const wchar_t* name);
    ~OtherProgramLock();
    OtherProgramLock(const OtherProgramLock&) = delete;
    OtherProgramLock& operator=(const OtherProgramLock&) = delete;

    bool Holds() const { return holds_; }

private:
    void Hold(const wchar_t* name);

    HANDLE tried_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE finish_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool holds_ = false;
    std::thread thread_;
};

// Whether another program could take the named mutex at once; it gives it
// back.
inline bool OtherProgramCanTake(const wchar_t* name) { return OtherProgramLock(name).Holds(); }

// A program that took the mutex and ended without giving it back.
void AbandonLockInOtherThread(const wchar_t* name);
