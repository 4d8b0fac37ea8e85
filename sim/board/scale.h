#pragma once
// The reference marks on the scale of one axis, in counts of the machine
// frame: none, marks at given places (a single-mark scale has one), or a
// distance-coded scale whose marks are generated from its layout.
//
// A distance-coded scale has fixed marks A(j) every `incrementLines` pitch
// lines from its zero (A(0) is the zero) and one coded mark B(j) after each,
// placed so that the distance between any two neighbouring marks tells where
// on the scale they are, in one of the two conventions the program decodes
// (CalcDistanceCodedOffset), N = incrementLines, h = N / 2:
//   Acu-Rite:   B(j) = A(j) + (j + 1) lines,          j = 0 .. min(h - 1, N - h - 2)
//   standard:   B(j) = A(j) + (h + 1 + j) lines,      j = 0 .. h - 2 (N even)
// The scale ends with the fixed mark after the last coded one. Scale
// positions become machine counts as zero + position, or zero - position
// when the scale is reversed (its counts run down the scale).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct CodedLayout {
    bool acuRite = false;
    int32_t incrementLines = 0; // pitch lines from one fixed mark to the next
    int32_t countsPerLine = 0;  // counts per pitch line
    int64_t zero = 0;           // machine count of the scale's zero, the first fixed mark
    bool reversed = false;
};

class Scale {
public:
    void Clear();
    // Marks at these machine counts (any order, repeats ignored).
    void SetMarks(std::vector<int64_t> marks);
    // Refuses (false, `why`) a layout the program could not decode: fewer
    // than 2 counts per line, too few lines, an odd increment in the
    // standard convention.
    static bool Check(const CodedLayout& layout, std::string& why);
    bool SetCoded(const CodedLayout& layout);
    bool Empty() const { return !coded_ && marks_.empty(); }
    // Every mark within [lo, hi] (machine counts), ascending.
    std::vector<int64_t> Within(double lo, double hi) const;

private:
    std::vector<int64_t> marks_;
    std::optional<CodedLayout> coded_;
};
