#pragma once
// The named mutexes the programs of the family share ("ZEZ_LOCK",
// "ZOOM_LOCK"): created on first use, not initially owned, and kept for the
// life of the process, since the other programs find the same mutex by name
// and closing it between uses would only cost a new kernel object each time.
#include <windows.h>

#include <atomic>

class NamedMutex {
public:
    explicit constexpr NamedMutex(const wchar_t* name) : name_(name) {}
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    // True when the mutex is held; every true must be matched by exactly one
    // Release. A mutex abandoned by a holder that died counts as held: the
    // wait has made us its owner, and waiting longer would not bring back
    // whatever state the dead holder left. The thread that holds it gets it
    // again at once, without asking the system: the 10 ms ticks take it in
    // several nested steps.
    bool Acquire(DWORD waitMs);
    void Release();

private:
    const wchar_t* name_;
    HANDLE handle_ = nullptr;
    std::atomic<DWORD> owner_{0};   // the holding thread; 0 while nobody here holds it
    int depth_ = 0;                 // how often the owner holds it
};

// Holds a lock for a scope when it could be taken.
template <bool (*Acquire)(), void (*Release)()>
class ScopedLock {
public:
    ScopedLock() : held_(Acquire()) {}
    ~ScopedLock()
    {
        if (held_)
            Release();
    }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;
    explicit operator bool() const { return held_; }

private:
    bool held_;
};
