#include "core/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

template <class Char>
using Text = std::basic_string_view<Char>;

template <class Char>
bool IsBlank(Char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

template <class Char>
bool IsDigit(Char c)
{
    return c >= '0' && c <= '9';
}

template <class Char>
int HexValue(Char c)
{
    if (IsDigit(c))
        return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<int>(c - 'a') + 10;
    if (c >= 'A' && c <= 'F')
        return static_cast<int>(c - 'A') + 10;
    return -1;
}

template <class Char>
Text<Char> WithoutLeadingBlanks(Text<Char> text)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    return text.substr(i);
}

template <class Char>
bool OnlyBlanks(Text<Char> text)
{
    return WithoutLeadingBlanks(text).empty();
}

template <class Char>
size_t SkipDigits(Text<Char> text, size_t i)
{
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    return i;
}

// How many characters at the start of the text form a decimal number; 0 when
// none does. An exponent without digits is not part of the number.
template <class Char>
size_t DecimalLength(Text<Char> text)
{
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const size_t integerStart = i;
    i = SkipDigits(text, i);
    bool digits = i > integerStart;
    if (i < text.size() && text[i] == '.') {
        const size_t fractionStart = ++i;
        i = SkipDigits(text, i);
        digits = digits || i > fractionStart;
    }
    if (!digits)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && IsDigit(text[j]))
            i = SkipDigits(text, j);
    }
    return i;
}

// Whether an unsigned decimal number (digits, point, exponent) that the
// conversion found out of range is below the smallest value rather than
// above the largest: the power of ten of its first significant digit.
bool IsTiny(const std::string& number)
{
    const size_t exponentAt = number.find_first_of("eE");
    long exponent = 0;
    if (exponentAt != std::string::npos) {
        size_t i = exponentAt + 1;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '-' || number[i] == '+'))
            ++i;
        for (; i < number.size(); ++i)
            exponent = std::min(exponent * 10 + (number[i] - '0'), 1'000'000L);
        if (negative)
            exponent = -exponent;
    }
    const std::string mantissa = number.substr(0, exponentAt);
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    const size_t first = mantissa.find_first_of("123456789");
    if (first == std::string::npos)
        return true;
    const long position = first < point ? static_cast<long>(point - first) - 1 : -static_cast<long>(first - point);
    return exponent + position < 0;
}

// text is a whole decimal number as DecimalLength found it.
template <class Number, class Char>
std::optional<Number> ConvertDecimal(Text<Char> text)
{
    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    std::string ascii;
    ascii.reserve(text.size());
    for (Char c : text)
        ascii.push_back(static_cast<char>(c));
    Number value{};
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too small for the type is the nearest value, zero or subnormal, as
        // the scanners give it; too large is no number.
        if (!IsTiny(ascii))
            return std::nullopt;
        double wide = 0.0;
        if (std::from_chars(ascii.data(), ascii.data() + ascii.size(), wide).ec != std::errc{})
            wide = 0.0;
        value = static_cast<Number>(wide);
    } else if (error != std::errc{} || end != ascii.data() + ascii.size()) {
        return std::nullopt;
    }
    if (!std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

enum class After { Anything, Blanks, Nothing };

template <class Number, class Char>
std::optional<Number> ReadDecimal(Text<Char> text, bool leadingBlanks, After after)
{
    if (leadingBlanks)
        text = WithoutLeadingBlanks(text);
    const size_t length = DecimalLength(text);
    if (length == 0)
        return std::nullopt;
    const Text<Char> rest = text.substr(length);
    if ((after == After::Blanks && !OnlyBlanks(rest)) || (after == After::Nothing && !rest.empty()))
        return std::nullopt;
    return ConvertDecimal<Number>(text.substr(0, length));
}

struct Digits {
    bool negative = false;
    uint64_t magnitude = 0;   // held at kHeld once it is beyond every int32/uint32
    size_t end = 0;           // where the digits ended; 0 when there were none
};
constexpr uint64_t kHeld = uint64_t{1} << 40;

template <class Char>
Digits ReadDigits(Text<Char> text, bool sign)
{
    Digits digits;
    size_t i = 0;
    if (sign && i < text.size() && (text[i] == '+' || text[i] == '-'))
        digits.negative = text[i++] == '-';
    const size_t start = i;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        digits.magnitude = std::min(digits.magnitude * 10 + static_cast<uint64_t>(text[i] - '0'), kHeld);
    digits.end = i > start ? i : 0;
    return digits;
}

std::optional<int32_t> AsInt32(const Digits& digits)
{
    const int64_t value =
        digits.negative ? -static_cast<int64_t>(digits.magnitude) : static_cast<int64_t>(digits.magnitude);
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(value);
}

} // namespace

std::optional<float> LeadingFloat(std::wstring_view text) { return ReadDecimal<float>(text, true, After::Anything); }
std::optional<float> LeadingFloat(std::string_view text) { return ReadDecimal<float>(text, true, After::Anything); }
std::optional<double> LeadingDouble(std::wstring_view text) { return ReadDecimal<double>(text, true, After::Anything); }
std::optional<float> WholeFloat(std::wstring_view text) { return ReadDecimal<float>(text, true, After::Blanks); }
std::optional<double> WholeDouble(std::wstring_view text) { return ReadDecimal<double>(text, true, After::Blanks); }
std::optional<float> ExactFloat(std::string_view text) { return ReadDecimal<float>(text, false, After::Nothing); }
std::optional<double> ExactDouble(std::string_view text) { return ReadDecimal<double>(text, false, After::Nothing); }

std::optional<int32_t> LeadingInteger(std::wstring_view text)
{
    const Digits digits = ReadDigits(WithoutLeadingBlanks(text), true);
    if (digits.end == 0)
        return std::nullopt;
    return AsInt32(digits);
}

std::optional<int32_t> WholeSigned(std::wstring_view text)
{
    text = WithoutLeadingBlanks(text);
    const Digits digits = ReadDigits(text, true);
    if (digits.end == 0 || !OnlyBlanks(text.substr(digits.end)))
        return std::nullopt;
    return AsInt32(digits);
}

std::optional<uint32_t> WholeUnsigned(std::wstring_view text)
{
    text = WithoutLeadingBlanks(text);
    const Digits digits = ReadDigits(text, false);
    if (digits.end == 0 || !OnlyBlanks(text.substr(digits.end)) ||
        digits.magnitude > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    return static_cast<uint32_t>(digits.magnitude);
}

std::optional<uint32_t> LeadingHex(std::wstring_view text)
{
    text = WithoutLeadingBlanks(text);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') && HexValue(text[2]) >= 0)
        text.remove_prefix(2);
    uint64_t value = 0;
    size_t i = 0;
    for (; i < text.size() && HexValue(text[i]) >= 0; ++i)
        value = std::min(value * 16 + static_cast<uint64_t>(HexValue(text[i])), kHeld);
    if (i == 0 || value > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    return static_cast<uint32_t>(value);
}

std::optional<int32_t> SaturatedLeadingInteger(std::wstring_view text, int32_t limit)
{
    Digits digits = ReadDigits(WithoutLeadingBlanks(text), true);
    if (digits.end == 0)
        return std::nullopt;
    digits.magnitude = std::min(digits.magnitude, static_cast<uint64_t>(limit));
    return AsInt32(digits);
}
