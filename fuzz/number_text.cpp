// The one number reader on any text, narrow and wide: a number it gives is
// finite, the stricter rules never accept what the looser ones read
// differently, and the integer forms stay in their range.
//
// Input: the text itself. It is read as narrow bytes, as the same bytes
// widened one to one, and as 16-bit characters (two bytes each, as a
// Windows field holds them).
#include "core/number_text.h"
#include "fuzz/fuzz_support.h"

#include <bit>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace {

uint32_t Bits(float value) { return std::bit_cast<uint32_t>(value); }
uint64_t Bits(double value) { return std::bit_cast<uint64_t>(value); }
int32_t Bits(int32_t value) { return value; }

template <class Number>
bool SameBits(const std::optional<Number>& a, const std::optional<Number>& b)
{
    return a.has_value() == b.has_value() && (!a || Bits(*a) == Bits(*b));
}

template <class Number>
void CheckFinite(const std::optional<Number>& value)
{
    FUZZ_CHECK(!value || std::isfinite(*value));
}

// A stricter rule that accepts gives what the looser one gives.
template <class Number>
void CheckImplies(const std::optional<Number>& strict, const std::optional<Number>& loose)
{
    FUZZ_CHECK(!strict || SameBits(strict, loose));
}

void CheckWide(std::wstring_view text)
{
    const std::optional<float> leadingFloat = LeadingFloat(text);
    const std::optional<float> wholeFloat = WholeFloat(text);
    const std::optional<double> leadingDouble = LeadingDouble(text);
    const std::optional<double> wholeDouble = WholeDouble(text);
    CheckFinite(leadingFloat);
    CheckFinite(wholeFloat);
    CheckFinite(leadingDouble);
    CheckFinite(wholeDouble);
    CheckImplies(wholeFloat, leadingFloat);
    CheckImplies(wholeDouble, leadingDouble);

    const std::optional<int32_t> leading = LeadingInteger(text);
    const std::optional<int32_t> whole = WholeSigned(text);
    const std::optional<uint32_t> unsignedWhole = WholeUnsigned(text);
    CheckImplies(whole, leading);
    if (unsignedWhole && *unsignedWhole <= static_cast<uint32_t>(std::numeric_limits<int32_t>::max()))
        FUZZ_CHECK(whole == static_cast<int32_t>(*unsignedWhole));
    LeadingHex(text);

    for (int32_t limit : {0, 255, 100000, std::numeric_limits<int32_t>::max()}) {
        const std::optional<int32_t> held = SaturatedLeadingInteger(text, limit);
        FUZZ_CHECK(!held || (*held >= -limit && *held <= limit));
        if (leading && *leading >= -limit && *leading <= limit)
            FUZZ_CHECK(held == leading);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view narrow(reinterpret_cast<const char*>(data), size);
    std::wstring widened;
    for (unsigned char c : narrow)
        widened.push_back(static_cast<wchar_t>(c));
    std::wstring utf16;
    for (size_t i = 0; i + 1 < size; i += 2)
        utf16.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));

    const std::optional<float> leading = LeadingFloat(narrow);
    const std::optional<float> exact = ExactFloat(narrow);
    CheckFinite(leading);
    CheckFinite(exact);
    FUZZ_CHECK(SameBits(leading, LeadingFloat(widened)));
    CheckImplies(exact, WholeFloat(widened));
    CheckWide(widened);
    CheckWide(utf16);
    return 0;
}
