#include "core/par_format.h"

#include "core/number_text.h"

#include <bit>
#include <cmath>
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

// "XX,XX,XX,XX", most significant byte first.
void AppendFourBytesLine(std::string& out, int number, uint32_t bits)
{
    AppendLine(out, "P%d %02X,%02X,%02X,%02X", number, unsigned{bits >> 24}, unsigned{(bits >> 16) & 0xFF},
               unsigned{(bits >> 8) & 0xFF}, unsigned{bits & 0xFF});
}

void AppendItemLine(std::string& out, const FlashItem& item, const FlashItemValue& value,
                    int userOutputFormat)
{
    const int number = item.number;
    if (userOutputFormat == kParItemsAsBytes) {
        if (item.type == FlashItemType::Byte)
            AppendLine(out, "P%d %02X", number, unsigned{value.byteValue});
        else
            AppendFourBytesLine(out, number, FlashItemBits(item.type, value));
        return;
    }
    switch (item.type) {
    case FlashItemType::Byte: AppendLine(out, "P%d %d", number, int{value.byteValue}); break;
    case FlashItemType::Int32: AppendLine(out, "P%d %d", number, int{value.intValue}); break;
    case FlashItemType::Float:
        // "%g" writes NaN and infinity (an erased word reads as NaN) as
        // words the reader refuses; their four bytes read back in any file.
        if (std::isfinite(value.floatValue))
            AppendLine(out, "P%d %g", number, double{value.floatValue});
        else
            AppendFourBytesLine(out, number, FlashItemBits(item.type, value));
        break;
    }
}

// ---------------------------------------------------------------------------
// Line parsing. A line is read as the writer lays it out: "P", the number
// with the writer's digits (three for a parameter, four for an item), one
// blank, the value, nothing after it but blanks. A number out of range or
// text after the value makes the line not valid rather than wrapped or cut.

constexpr size_t kParamDigits = 3;   // "P%03d"
constexpr size_t kItemDigits = 4;    // items are numbered 1000..1163

constexpr bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

constexpr int HexDigit(char c)
{
    if (IsDigit(c))
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

std::string_view TrimTrailingSpace(std::string_view s)
{
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// Every character a digit of the base, at least one, at most the limit.
std::optional<uint64_t> ParseAllDigits(std::string_view s, int base, uint64_t limit)
{
    if (s.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char c : s) {
        const int digit = HexDigit(c);
        if (digit < 0 || digit >= base)
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

// An optional sign and decimal digits that make up the whole text, within
// the signed 32-bit range.
std::optional<int32_t> ParseSignedDecimal(std::string_view s)
{
    const bool negative = !s.empty() && s[0] == '-';
    if (!s.empty() && (s[0] == '-' || s[0] == '+'))
        s.remove_prefix(1);
    const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
    const std::optional<uint64_t> magnitude = ParseAllDigits(s, 10, limit);
    if (!magnitude)
        return std::nullopt;
    return static_cast<int32_t>(negative ? -static_cast<int64_t>(*magnitude) : static_cast<int64_t>(*magnitude));
}

// The line's number as the C scanner reads it (blanks skipped, digits up to
// the first other character), so that a bad number can be reported.
std::optional<int32_t> ScanNumber(std::string_view s)
{
    s = SkipSpace(s);
    size_t end = !s.empty() && (s[0] == '-' || s[0] == '+') ? 1 : 0;
    while (end < s.size() && IsDigit(s[end]))
        ++end;
    return ParseSignedDecimal(s.substr(0, end));
}

// The value text when the number has exactly its digits and one blank
// follows; trailing blanks are not part of the value.
std::optional<std::string_view> ValueAt(std::string_view line, size_t digits)
{
    const size_t column = 1 + digits + 1;
    if (line.size() <= column || line[column - 1] != ' ' || IsSpace(line[column]))
        return std::nullopt;
    for (size_t i = 1; i <= digits; ++i)
        if (!IsDigit(line[i]))
            return std::nullopt;
    return TrimTrailingSpace(line.substr(column));
}

constexpr bool HasHexPrefix(std::string_view v) { return v.size() >= 2 && v[0] == '0' && Upper(v[1]) == 'X'; }

// "0x" and up to eight hexadecimal digits, or a signed 32-bit decimal.
std::optional<uint32_t> ParseInteger(std::string_view v)
{
    if (HasHexPrefix(v)) {
        const std::optional<uint64_t> hex = ParseAllDigits(v.substr(2), 16, 0xFFFFFFFFu);
        if (!hex)
            return std::nullopt;
        return static_cast<uint32_t>(*hex);
    }
    const std::optional<int32_t> decimal = ParseSignedDecimal(v);
    if (!decimal)
        return std::nullopt;
    return static_cast<uint32_t>(*decimal);
}

// A byte item is 0..255: decimal or "0x" hexadecimal, and in a file whose
// items are written as bytes, hexadecimal without the prefix too ("%02X").
std::optional<uint8_t> ParseByte(std::string_view v, ParItemForm form)
{
    std::optional<uint64_t> value;
    if (HasHexPrefix(v))
        value = ParseAllDigits(v.substr(2), 16, 0xFF);
    else
        value = ParseAllDigits(v, form == ParItemForm::FourBytes ? 16 : 10, 0xFF);
    if (!value)
        return std::nullopt;
    return static_cast<uint8_t>(*value);
}

// "XX,XX,XX,XX", most significant byte first.
std::optional<uint32_t> ParseFourBytes(std::string_view v)
{
    constexpr std::string_view kShape = "XX,XX,XX,XX";
    if (v.size() != kShape.size())
        return std::nullopt;
    uint32_t bits = 0;
    for (size_t i = 0; i < kShape.size(); ++i) {
        if (kShape[i] == ',') {
            if (v[i] != ',')
                return std::nullopt;
            continue;
        }
        const int digit = HexDigit(v[i]);
        if (digit < 0)
            return std::nullopt;
        bits = bits << 4 | static_cast<uint32_t>(digit);
    }
    return bits;
}

std::optional<FlashItemValue> ParseItemValue(FlashItemType type, std::string_view v, ParItemForm form)
{
    if (type == FlashItemType::Byte) {
        const std::optional<uint8_t> value = ParseByte(v, form);
        if (!value)
            return std::nullopt;
        return FlashItemFromBits(type, *value);
    }
    if (const std::optional<uint32_t> bits = ParseFourBytes(v))
        return FlashItemFromBits(type, *bits);
    if (type == FlashItemType::Float) {
        const std::optional<float> value = ExactFloat(v);
        if (!value)
            return std::nullopt;
        FlashItemValue item;
        item.floatValue = *value;
        return item;
    }
    const std::optional<uint32_t> value = ParseInteger(v);
    if (!value)
        return std::nullopt;
    return FlashItemFromBits(type, *value);
}

// Read as a C string: a NUL byte ends the line there.
std::string_view UpToNul(std::string_view whole) { return whole.substr(0, whole.find('\0')); }

bool StartsLikeALine(const ParLine& line, std::string_view text)
{
    return !line.overLong && !text.empty() && Upper(text[0]) == 'P';
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

void AppendParHeader(std::string& out, const BoardVersions& versions)
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

std::string FormatParFile(const BoardVersions& versions, const uint32_t (&params)[kParamCount],
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

ParItemForm DetectParItemForm(std::istream& in)
{
    int fourByteLines = 0;
    int otherLines = 0;
    ParLineReader reader(in);
    for (ParLine line; reader.Next(line);) {
        const std::string_view text = UpToNul(line.text);
        if (!StartsLikeALine(line, text))
            continue;
        const int index = FindFlashItem(ScanNumber(text.substr(1)).value_or(-1));
        if (index < 0 || kFlashItemTable[index].type == FlashItemType::Byte)
            continue;
        const std::optional<std::string_view> value = ValueAt(text, kItemDigits);
        if (!value)
            continue;
        ++(ParseFourBytes(*value) ? fourByteLines : otherLines);
    }
    return fourByteLines > 0 && otherLines == 0 ? ParItemForm::FourBytes : ParItemForm::Decimal;
}

ParLineResult ParseParLine(const ParLine& line, ParItemForm form)
{
    const std::string_view text = UpToNul(line.text);
    const bool cutAtNul = text.size() != line.text.size();
    if (!StartsLikeALine(line, text))
        return NotValid(line, text, cutAtNul);

    const int number = ScanNumber(text.substr(1)).value_or(-1);
    if (number >= 0 && number < kParamCount) {
        const std::optional<std::string_view> valueText = ValueAt(text, kParamDigits);
        const std::optional<uint32_t> value = valueText ? ParseInteger(*valueText) : std::nullopt;
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
    const std::optional<std::string_view> valueText = ValueAt(text, kItemDigits);
    const std::optional<FlashItemValue> value =
        valueText ? ParseItemValue(kFlashItemTable[index].type, *valueText, form) : std::nullopt;
    if (!value)
        return NotValid(line, text, cutAtNul);
    ParLineResult result;
    result.kind = ParLineKind::Item;
    result.number = number;
    result.itemIndex = index;
    result.itemValue = *value;
    return result;
}
