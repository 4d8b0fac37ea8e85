#include "infra/log_ring.h"

#include <cwchar>
#include <mutex>

namespace {

// Slots are reused once the ring is full: a line swaps its text into the
// oldest slot, so the 10 ms tick's lines allocate nothing in the long run.
class LineRing {
public:
    template <typename Char>
    void Add(const Char* text, size_t length)
    {
        std::lock_guard lock(mutex_);
        if (lines_.empty())
            lines_.resize(kRecentLogLines);
        for (size_t i = 0; i < length; ++i) {
            if (text[i] != Char('\n'))
                pending_.push_back(Wide(text[i]));
            else if (!pending_.empty())
                EndLine();
        }
    }

    std::vector<std::wstring> Lines()
    {
        std::lock_guard lock(mutex_);
        std::vector<std::wstring> result;
        result.reserve(count_);
        const size_t oldest = (next_ + kRecentLogLines - count_) % kRecentLogLines;
        for (size_t i = 0; i < count_; ++i)
            result.push_back(lines_[(oldest + i) % kRecentLogLines]);
        return result;
    }

    void Reset()
    {
        std::lock_guard lock(mutex_);
        lines_.clear();
        pending_.clear();
        next_ = 0;
        count_ = 0;
    }

private:
    static wchar_t Wide(wchar_t c) { return c; }
    static wchar_t Wide(char c) { return WidenLogChar(c); }

    void EndLine()
    {
        lines_[next_].swap(pending_);
        pending_.clear();
        next_ = (next_ + 1) % kRecentLogLines;
        if (count_ < kRecentLogLines)
            ++count_;
    }

    std::mutex mutex_;
    std::vector<std::wstring> lines_;
    std::wstring pending_;
    size_t next_ = 0;
    size_t count_ = 0;
};

LineRing& Ring()
{
    // Never destroyed: code logging from a static destructor still finds it.
    static LineRing& ring = *new LineRing;
    return ring;
}

} // namespace

wchar_t WidenLogChar(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80)
        return static_cast<wchar_t>(byte);
    const wint_t wide = std::btowc(byte);
    return wide == WEOF ? L'?' : static_cast<wchar_t>(wide);
}

void KeepRecentLogText(const char* text, size_t length) { Ring().Add(text, length); }
void KeepRecentLogText(const wchar_t* text, size_t length) { Ring().Add(text, length); }
std::vector<std::wstring> RecentLogLines() { return Ring().Lines(); }
void ResetRecentLog() { Ring().Reset(); }
