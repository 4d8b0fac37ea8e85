#include "core/capture_csv.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include "core/number_text.h"

namespace {

constexpr std::string_view kTitle = "stagetune scope capture";
constexpr std::string_view kTimeColumn = "time (ms)";
constexpr const char* kUnitTexts[] = {"mm", "in", "mm/s", "in/s", ""};

// The header lines of a key and a text, in their order.
struct HeaderKey {
    std::string_view key;
    std::string ScopeCapture::*field;
};
constexpr HeaderKey kHeaderKeys[] = {
    {"program", &ScopeCapture::program},
    {"serial", &ScopeCapture::serial},
    {"firmware", &ScopeCapture::firmware},
    {"date", &ScopeCapture::date},
};
constexpr std::string_view kZeroTickKey = "zero tick";
constexpr std::string_view kChannelKey = "channel";

std::string ColumnLine(const ScopeCapture& capture)
{
    std::string line(kTimeColumn);
    for (const ScopeChannel& channel : capture.channels)
        line += "," + ScopeChannelName(channel);
    return line;
}

// Lengths to the micrometre and beyond; the status byte as a whole number.
void AppendValue(std::string& out, double value, const ScopeChannel& channel)
{
    char text[64];
    std::snprintf(text, sizeof text, channel.quantity == ScopeQuantity::kMoveStatus ? ",%.0f" : ",%.6f", value);
    out += text;
}

std::vector<std::string_view> SplitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (size_t start = 0;;) {
        const size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

template <size_t N>
int IndexOf(const char* const (&names)[N], std::string_view name)
{
    for (size_t i = 0; i < N; ++i)
        if (name == names[i])
            return static_cast<int>(i);
    return -1;
}

class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}
    // The next line without its line end; none at the end of the text.
    std::optional<std::string_view> Next()
    {
        if (position_ >= text_.size())
            return std::nullopt;
        ++number_;
        const size_t end = text_.find('\n', position_);
        std::string_view line = text_.substr(position_, end - position_);
        position_ = end == std::string_view::npos ? text_.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return line;
    }
    int Number() const { return number_; }
    // The line a complaint about a missing line names.
    int NextNumber() const { return number_ + 1; }

private:
    std::string_view text_;
    size_t position_ = 0;
    int number_ = 0;
};

std::optional<std::string_view> KeyValue(std::string_view line, std::string_view key)
{
    if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != ',')
        return std::nullopt;
    return line.substr(key.size() + 1);
}

std::optional<double> ReadValue(std::string_view text)
{
    const std::optional<double> value = ExactDouble(text);
    if (!value || std::fabs(*value) > kCaptureCsvMaxValue)
        return std::nullopt;
    return value;
}

std::optional<ScopeChannel> ReadChannel(std::string_view rest)
{
    const std::vector<std::string_view> fields = SplitFields(rest);
    if (fields.size() != 3)
        return std::nullopt;
    const int axis = IndexOf(kScopeAxisNames, fields[0]);
    const int quantity = IndexOf(kScopeQuantityNames, fields[1]);
    if (axis < 0 || quantity < 0 || IndexOf(kUnitTexts, fields[2]) < 0)
        return std::nullopt;
    return ScopeChannel{axis, static_cast<ScopeQuantity>(quantity), std::string(fields[2])};
}

struct Refusal {
    int line;
    const char* reason;
};

std::optional<Refusal> ReadHeader(LineReader& lines, ScopeCapture& capture)
{
    const auto title = lines.Next();
    if (!title)
        return Refusal{lines.NextNumber(), "the file is empty"};
    if (*title != kTitle)
        return Refusal{lines.Number(), "not a scope capture"};
    for (const HeaderKey& key : kHeaderKeys) {
        const auto line = lines.Next();
        const auto value = line ? KeyValue(*line, key.key) : std::nullopt;
        if (!value)
            return Refusal{line ? lines.Number() : lines.NextNumber(), "a header line is missing"};
        // A carriage return kept in a text would not survive the next save.
        if (value->find('\r') != std::string_view::npos)
            return Refusal{lines.Number(), "a header line holds a carriage return"};
        capture.*key.field = std::string(*value);
    }
    const auto tickLine = lines.Next();
    const auto tickText = tickLine ? KeyValue(*tickLine, kZeroTickKey) : std::nullopt;
    const auto tick = tickText ? ExactDouble(*tickText) : std::nullopt;
    if (!tick || *tick < 0 || *tick > UINT32_MAX || *tick != std::floor(*tick))
        return Refusal{tickLine ? lines.Number() : lines.NextNumber(), "the zero tick is not a tick count"};
    capture.zeroTick = static_cast<uint32_t>(*tick);
    for (;;) {
        const auto line = lines.Next();
        if (!line)
            return Refusal{lines.NextNumber(), "the column names are missing"};
        const auto rest = KeyValue(*line, kChannelKey);
        if (!rest) {
            if (capture.channels.empty())
                return Refusal{lines.Number(), "no channel"};
            if (*line != ColumnLine(capture))
                return Refusal{lines.Number(), "the columns do not match the channels"};
            return std::nullopt;
        }
        const auto channel = ReadChannel(*rest);
        if (!channel)
            return Refusal{lines.Number(), "not a channel of the scope"};
        if (capture.channels.size() == kScopeChannels)
            return Refusal{lines.Number(), "more than four channels"};
        capture.channels.push_back(*channel);
    }
}

std::optional<Refusal> ReadRow(std::string_view line, ScopeCapture& capture, int number)
{
    const std::vector<std::string_view> fields = SplitFields(line);
    if (fields.size() != capture.channels.size() + 1)
        return Refusal{number, "the row has not one value per column"};
    const auto time = ExactDouble(fields[0]);
    if (!time || *time != std::floor(*time) || std::fabs(*time) > INT32_MAX)
        return Refusal{number, "the time is not a whole number of ms"};
    ScopeSample sample{static_cast<int32_t>(*time), {}};
    if (!capture.samples.empty() && sample.timeMs <= capture.samples.back().timeMs)
        return Refusal{number, "the time does not increase"};
    for (size_t c = 0; c < capture.channels.size(); ++c) {
        const auto value = ReadValue(fields[c + 1]);
        if (!value)
            return Refusal{number, "a value is not a number"};
        sample.values[c] = *value;
    }
    capture.samples.push_back(sample);
    return std::nullopt;
}

} // namespace

std::string WriteCaptureCsv(const ScopeCapture& capture)
{
    std::string out(kTitle);
    out += "\n";
    for (const HeaderKey& key : kHeaderKeys)
        out += std::string(key.key) + "," + capture.*key.field + "\n";
    out += std::string(kZeroTickKey) + "," + std::to_string(capture.zeroTick) + "\n";
    for (const ScopeChannel& channel : capture.channels)
        out += std::string(kChannelKey) + "," + kScopeAxisNames[channel.axis] + "," +
               kScopeQuantityNames[static_cast<int>(channel.quantity)] + "," + channel.unit + "\n";
    out += ColumnLine(capture) + "\n";
    for (const ScopeSample& sample : capture.samples) {
        out += std::to_string(sample.timeMs);
        for (size_t c = 0; c < capture.channels.size(); ++c)
            AppendValue(out, sample.values[c], capture.channels[c]);
        out += "\n";
    }
    return out;
}

std::variant<ScopeCapture, CaptureCsvError> ReadCaptureCsv(std::string_view text)
{
    ScopeCapture capture;
    LineReader lines(text);
    if (const auto refused = ReadHeader(lines, capture))
        return CaptureCsvError{refused->line, refused->reason};
    while (const auto line = lines.Next()) {
        if (capture.samples.size() == kCaptureCsvMaxRows)
            return CaptureCsvError{lines.Number(), "more rows than a capture has"};
        if (const auto refused = ReadRow(*line, capture, lines.Number()))
            return CaptureCsvError{refused->line, refused->reason};
    }
    if (capture.samples.empty())
        return CaptureCsvError{lines.NextNumber(), "no samples"};
    return capture;
}
