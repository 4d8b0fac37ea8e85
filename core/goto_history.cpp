#include "core/goto_history.h"

#include <algorithm>

GotoSampleRing GotoHistory[kGotoAxisCount];

void GotoSampleRing::Push(const GotoSample& sample)
{
    std::move_backward(samples_.begin(), samples_.end() - 1, samples_.end());
    samples_.front() = sample;
}

void ResetGotoHistory()
{
    for (GotoSampleRing& ring : GotoHistory)
        ring.Clear();
}
