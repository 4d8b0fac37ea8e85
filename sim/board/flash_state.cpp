#include "flash_state.h"

#include <charconv>
#include <cstdio>

namespace {

constexpr std::string_view kHeader = "AXBSIM STATE 1";
constexpr std::string_view kTrailer = "END";

// "P007=0000002A": a letter, three decimal digits, '=', eight hex digits.
std::string FormatLine(char letter, int index, uint32_t value)
{
    char line[32];
    std::snprintf(line, sizeof line, "%c%03d=%08X\r\n", letter, index, static_cast<unsigned>(value));
    return line;
}

class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    bool Next(std::string_view& line)
    {
        if (text_.empty())
            return false;
        const size_t nl = text_.find('\n');
        line = text_.substr(0, nl);
        text_ = nl == std::string_view::npos ? std::string_view{} : text_.substr(nl + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++number_;
        return true;
    }
    bool AtEnd() const { return text_.empty(); }
    int Number() const { return number_; }

private:
    std::string_view text_;
    int number_ = 0;
};

bool ParseValueLine(std::string_view line, char letter, int index, uint32_t& value)
{
    char expected[8];
    std::snprintf(expected, sizeof expected, "%c%03d=", letter, index);
    if (line.size() != 13 || line.substr(0, 5) != expected)
        return false;
    const auto [end, ec] = std::from_chars(line.data() + 5, line.data() + line.size(), value, 16);
    return ec == std::errc() && end == line.data() + line.size();
}

template <size_t N>
bool ReadValues(LineReader& reader, char letter, std::array<uint32_t, N>& values, std::string& error)
{
    for (size_t i = 0; i < N; ++i) {
        std::string_view line;
        if (!reader.Next(line) || !ParseValueLine(line, letter, static_cast<int>(i), values[i])) {
            char message[64];
            std::snprintf(message, sizeof message, "line %d: expected %c%03d=XXXXXXXX", reader.Number(), letter,
                          static_cast<int>(i));
            error = message;
            return false;
        }
    }
    return true;
}

} // namespace

std::string FormatFlashState(const FlashState& state)
{
    std::string text(kHeader);
    text += "\r\n";
    for (int i = 0; i < kParamCount; ++i)
        text += FormatLine('P', i, state.params[i]);
    for (int i = 0; i < kFlashWordCount; ++i)
        text += FormatLine('W', i, state.words[i]);
    text += kTrailer;
    text += "\r\n";
    return text;
}

bool ParseFlashState(std::string_view text, FlashState& state, std::string& error)
{
    LineReader reader(text);
    std::string_view line;
    if (!reader.Next(line) || line != kHeader) {
        error = "line 1: not a simulated-board state file";
        return false;
    }
    FlashState parsed;
    if (!ReadValues(reader, 'P', parsed.params, error) || !ReadValues(reader, 'W', parsed.words, error))
        return false;
    if (!reader.Next(line) || line != kTrailer || !reader.AtEnd()) {
        error = "line " + std::to_string(reader.Number()) + ": expected END as the last line";
        return false;
    }
    state = parsed;
    return true;
}
