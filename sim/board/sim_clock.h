#pragma once
// The board's sense of time: the PC's performance counter, or a virtual
// clock that tests set and advance. Switching between the two keeps time
// running on from where it was, so moves in progress do not jump.
#include <cstdint>

class SimClock {
public:
    uint64_t NowUs() const;
    uint64_t NowMs() const { return NowUs() / 1000; }

    void UseVirtual(bool on);
    // Both switch to virtual time.
    void SetMs(uint64_t ms);
    void AdvanceMs(uint32_t ms);

private:
    static uint64_t RealUs();

    bool virtual_ = false;
    uint64_t virtualUs_ = 0;
    int64_t realOffsetUs_ = 0;
};
