#include "core/par_format.h"

#include <bit>
#include <charconv>
#include <cstdio>
#include <istream>
#include <optional>
#include <string_view>

namespace {

// Long enough for every line the writer produces.
constexpr size_t kFormatBufferChars = 128;

// Appends a line formatted like the log texts (without their "\n") plus the
// file's line end.
template <class... Args>
void AppendLine(std::string& out, const char* format, Args... args)
{
    char line[kFormatBufferChars];
    std::snprintf(line, sizeof line, format, args...);
    out += line;
    out += kParLineEnd;
}

void AppendItemLine(std::string& out, const FlashItem& item, const FlashItemValue& value,
                    int userOutputFormat)
{
    const int number = item.number;
    if (userOutputFormat == kParItemsAsBytes) {
        if (item.type == FlashItemType::Byte) {
            AppendLine(out, "P%d %02X", number, unsigned{value.byteValue});
            return;
        }
        const uint32_t bits = FlashItemBits(item.type, value);
        AppendLine(out, "P%d %02X,%02X,%02X,%02X", number, unsigned{bits >> 24},
                   unsigned{(bits >> 16) & 0xFF}, unsigned{(bits >> 8) & 0xFF}, unsigned{bits & 0xFF});
        return;
    }
    switch (item.type) {
    case FlashItemType::Byte: AppendLine(out, "P%d %d", number, int{value.byteValue}); break;
    case FlashItemType::Int32: AppendLine(out, "P%d %d", number, int{value.intValue}); break;
    case FlashItemType::Float: AppendLine(out, "P%d %g", number, double{value.floatValue}); break;
    }
}

// ---------------------------------------------------------------------------
// Value parsing, in the manner of the C scanners: leading white space is
// skipped and the number ends at the first character that cannot continue
// it. Unlike them, a number out of range is rejected, not wrapped.

constexpr size_t kValueColumn = 5;   // after "P" + three digits + blank

constexpr bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

constexpr char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string_view SkipSpace(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && IsSpace(s[i]))
        ++i;
    return s.substr(i);
}

std::string_view From(std::string_view s, size_t column)
{
    return column < s.size() ? s.substr(column) : std::string_view{};
}

// Digits in the given base; nullopt without a digit or past the limit.
std::optional<uint64_t> ParseDigits(std::string_view s, int base, uint64_t limit)
{
    uint64_t value = 0;
    size_t i = 0;
    for (; i < s.size(); ++i) {
        const int digit = HexDigit(s[i]);
        if (digit < 0 || digit >= base)
            break;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    if (i == 0)
        return std::nullopt;
    return value;
}

std::optional<int32_t> ParseSignedDecimal(std::string_view s)
{
    s = SkipSpace(s);
    const bool negative = !s.empty() && s[0] == '-';
    if (!s.empty() && (s[0] == '-' || s[0] == '+'))
        s.remove_prefix(1);
    const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
    const std::optional<uint64_t> magnitude = ParseDigits(s, 10, limit);
    if (!magnitude)
        return std::nullopt;
    return static_cast<int32_t>(negative ? -static_cast<int64_t>(*magnitude) : static_cast<int64_t>(*magnitude));
}

// The integer value of a parameter, byte or 32-bit line: hexadecimal only
// when "0x" starts exactly at the value column.
std::optional<uint32_t> ParseIntegerValue(std::string_view line)
{
    const std::string_view value = From(line, kValueColumn);
    if (value.size() >= 2 && value[0] == '0' && Upper(value[1]) == 'X') {
        const std::optional<uint64_t> hex = ParseDigits(SkipSpace(value.substr(2)), 16, 0xFFFFFFFFu);
        if (!hex)
            return std::nullopt;
        return static_cast<uint32_t>(*hex);
    }
    const std::optional<int32_t> decimal = ParseSignedDecimal(value);
    if (!decimal)
        return std::nullopt;
    return static_cast<uint32_t>(*decimal);
}

std::optional<float> ParseFloatValue(std::string_view line)
{
    std::string_view value = SkipSpace(From(line, kValueColumn));
    if (!value.empty() && value[0] == '+') {
        value.remove_prefix(1);
        if (!value.empty() && value[0] == '-')
            return std::nullopt;
    }
    float result = 0.0f;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), result);
    if (error != std::errc{})
        return std::nullopt;
    return result;
}

// "XX,XX,XX,XX", most significant byte first, alone in the value column.
std::optional<uint32_t> ParseFourBytes(std::string_view line)
{
    constexpr std::string_view kShape = "XX,XX,XX,XX";
    const std::string_view value = SkipSpace(From(line, kValueColumn));
    if (value.size() < kShape.size() || (value.size() > kShape.size() && !IsSpace(value[kShape.size()])))
        return std::nullopt;
    uint32_t bits = 0;
    for (size_t i = 0; i < kShape.size(); ++i) {
        if (kShape[i] == ',') {
            if (value[i] != ',')
                return std::nullopt;
            continue;
        }
        const int digit = HexDigit(value[i]);
        if (digit < 0)
            return std::nullopt;
        bits = bits << 4 | static_cast<uint32_t>(digit);
    }
    return bits;
}

std::optional<FlashItemValue> ParseItemValue(FlashItemType type, std::string_view line)
{
    if (type != FlashItemType::Byte)
        if (const std::optional<uint32_t> bits = ParseFourBytes(line))
            return FlashItemFromBits(type, *bits);
    if (type == FlashItemType::Float) {
        const std::optional<float> value = ParseFloatValue(line);
        if (!value)
            return std::nullopt;
        FlashItemValue item;
        item.floatValue = *value;
        return item;
    }
    // A byte item keeps the low eight bits, as a typed byte field does.
    const std::optional<uint32_t> value = ParseIntegerValue(line);
    if (!value)
        return std::nullopt;
    return FlashItemFromBits(type, *value);
}

// ---------------------------------------------------------------------------
// Outcomes


ParLineResult NotValid(const ParLine& line, std::string_view text, bool cutAtNul)
{
    ParLineResult result;
    result.kind = ParLineKind::NotValid;
    // The line as read: its line end unless it was cut short.
    result.log = "Not a valid line:";
    result.log += text;
    if (!line.overLong && !cutAtNul)
        result.log += '\n';
    result.log += '\n';
    return result;
}

ParLineResult Error(ParLineKind kind, int number)
{
    ParLineResult result;
    result.kind = kind;
    result.number = number;
    char text[kFormatBufferChars];
    if (kind == ParLineKind::ItemNotFound) {
        std::snprintf(text, sizeof text, "Error could not find param %d in the parameter list\n", number);
        result.log = text;
    }
    std::snprintf(text, sizeof text, "Error param is %d\n", number);
    result.log += text;
    return result;
}

} // namespace

void AppendParHeader(std::string& out, const ParFileVersions& versions)
{
    char line[kFormatBufferChars];
    FormatFirmwareVersion(line, sizeof line, versions.firmware, false);
    AppendLine(out, "%s", line);
    FormatHardwareVersion(line, sizeof line, versions.hardware, false);
    AppendLine(out, "%s", line);
    FormatFpgaVersion(line, sizeof line, versions.fpga, false);
    AppendLine(out, "%s", line);
    FormatSerialNumber(line, sizeof line, versions.serialNumber, false);
    AppendLine(out, "%s", line);
    FormatDllVersion(line, sizeof line, versions.dll, false);
    AppendLine(out, "%s", line);
}

void AppendParParamLines(std::string& out, const uint32_t (&params)[kParamCount])
{
    for (int n = 0; n < kParamCount; ++n)
        AppendLine(out, "P%03d %d", n, static_cast<int>(params[n]));
}

void AppendParItemLines(std::string& out, const FlashItemValues& items, int userOutputFormat)
{
    for (int i = 0; i < kFlashItemCount; ++i)
        AppendItemLine(out, kFlashItemTable[i], items[i], userOutputFormat);
}

std::string FormatParFile(const ParFileVersions& versions, const uint32_t (&params)[kParamCount],
                          const FlashItemValues& items, int userOutputFormat)
{
    std::string out;
    AppendParHeader(out, versions);
    AppendParParamLines(out, params);
    AppendParItemLines(out, items, userOutputFormat);
    return out;
}

bool ParLineReader::Next(ParLine& line)
{
    line.text.clear();
    line.overLong = false;
    std::streambuf* source = in.rdbuf();
    if (source == nullptr)
        return false;
    // Room for the first kParLineMaxChars + 1 characters and the CR of a
    // CR LF; the rest of a longer line is read and dropped.
    constexpr size_t kKept = kParLineMaxChars + 2;
    for (int c = source->sbumpc(); c != std::char_traits<char>::eof(); c = source->sbumpc()) {
        if (c == '\n') {
            if (!line.text.empty() && line.text.back() == '\r')
                line.text.pop_back();
            if (line.text.size() > kParLineMaxChars) {
                line.overLong = true;
                line.text.resize(kParLineMaxChars + 1);
            }
            return true;
        }
        if (line.text.size() < kKept)
            line.text.push_back(static_cast<char>(c));
    }
    return false;
}

ParLineResult ParseParLine(const ParLine& line)
{
    // Read as a C string: a NUL byte ends the line there.
    const std::string_view whole = line.text;
    const std::string_view text = whole.substr(0, whole.find('\0'));
    const bool cutAtNul = text.size() != whole.size();
    if (line.overLong || text.empty() || Upper(text[0]) != 'P')
        return NotValid(line, text, cutAtNul);

    const int number = ParseSignedDecimal(text.substr(1)).value_or(-1);
    if (number >= 0 && number < kParamCount) {
        const std::optional<uint32_t> value = ParseIntegerValue(text);
        if (!value)
            return NotValid(line, text, cutAtNul);
        ParLineResult result;
        result.kind = ParLineKind::Param;
        result.number = number;
        result.paramValue = *value;
        return result;
    }
    // Every number from 1000 up is looked up, so that a mistyped item number
    // (P1234) is reported as such.
    if (number < kFlashItemFirstNumber)
        return Error(ParLineKind::BadNumber, number);
    const int index = FindFlashItem(number);
    if (index < 0)
        return Error(ParLineKind::ItemNotFound, number);
    const std::optional<FlashItemValue> value = ParseItemValue(kFlashItemTable[index].type, text);
    if (!value)
        return NotValid(line, text, cutAtNul);
    ParLineResult result;
    result.kind = ParLineKind::Item;
    result.number = number;
    result.itemIndex = index;
    result.itemValue = *value;
    return result;
}
