#include "scale.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kMinCountsPerLine = 2;
constexpr int32_t kMinLines = 3;
constexpr int32_t kMaxLines = 1000000;
constexpr int32_t kMaxCountsPerLine = 1000000;

// The last coded mark B(j) whose neighbours both decode.
int64_t LastCodedMark(const CodedLayout& l)
{
    const int64_t n = l.incrementLines;
    const int64_t h = n / 2;
    return l.acuRite ? std::min(h - 1, n - h - 2) : h - 2;
}

// Lines from A(j) up to B(j).
int64_t CodedOffsetLines(const CodedLayout& l, int64_t j)
{
    return l.acuRite ? j + 1 : l.incrementLines / 2 + 1 + j;
}

} // namespace

void Scale::Clear()
{
    marks_.clear();
    coded_.reset();
}

void Scale::SetMarks(std::vector<int64_t> marks)
{
    Clear();
    std::sort(marks.begin(), marks.end());
    marks.erase(std::unique(marks.begin(), marks.end()), marks.end());
    marks_ = std::move(marks);
}

bool Scale::Check(const CodedLayout& l, std::string& why)
{
    if (l.countsPerLine < kMinCountsPerLine || l.countsPerLine > kMaxCountsPerLine) {
        why = "counts per line must be 2.." + std::to_string(kMaxCountsPerLine);
        return false;
    }
    if (l.incrementLines < kMinLines || l.incrementLines > kMaxLines) {
        why = "the increment must be 3.." + std::to_string(kMaxLines) + " lines";
        return false;
    }
    if (!l.acuRite && l.incrementLines % 2 != 0) {
        why = "a standard distance-coded scale needs an even increment";
        return false;
    }
    if (LastCodedMark(l) < 0) {
        why = "the increment is too short for a coded mark";
        return false;
    }
    return true;
}

bool Scale::SetCoded(const CodedLayout& layout)
{
    std::string why;
    if (!Check(layout, why))
        return false;
    Clear();
    coded_ = layout;
    return true;
}

std::vector<int64_t> Scale::Within(double lo, double hi) const
{
    std::vector<int64_t> found;
    if (!(lo <= hi))
        return found;
    if (!coded_) {
        for (const int64_t m : marks_)
            if (static_cast<double>(m) >= lo && static_cast<double>(m) <= hi)
                found.push_back(m);
        return found;
    }
    const CodedLayout& l = *coded_;
    const double zero = static_cast<double>(l.zero);
    // The same stretch in scale positions.
    const double sLo = l.reversed ? zero - hi : lo - zero;
    const double sHi = l.reversed ? zero - lo : hi - zero;
    const int64_t lastB = LastCodedMark(l);
    const double increment = static_cast<double>(l.incrementLines) * l.countsPerLine;
    const int64_t first = std::max<int64_t>(0, static_cast<int64_t>(std::floor(sLo / increment)) - 1);
    const int64_t last = std::min<int64_t>(lastB + 1, static_cast<int64_t>(std::ceil(std::min(sHi / increment, 1e15))) + 1);
    for (int64_t j = first; j <= last; ++j) {
        const int64_t a = j * l.incrementLines * l.countsPerLine;
        int64_t positions[2] = {a, -1};
        if (j <= lastB)
            positions[1] = a + CodedOffsetLines(l, j) * l.countsPerLine;
        for (const int64_t s : positions) {
            if (s < 0 || static_cast<double>(s) < sLo || static_cast<double>(s) > sHi)
                continue;
            found.push_back(l.reversed ? l.zero - s : l.zero + s);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}
