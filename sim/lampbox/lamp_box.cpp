#include "lamp_box.h"

namespace {

// A command that never ends is recorded in pieces of this size.
constexpr size_t kLongestCommand = 256;

constexpr struct {
    BoxMode mode;
    const char* name;
} kModeNames[] = {
    {BoxMode::Answer, "answer"},
    {BoxMode::Silent, "silent"},
    {BoxMode::Garbage, "garbage"},
    {BoxMode::Error, "error"},
};

// No '*': garbage must never look like the start of the box's answer.
constexpr char kGarbage[] = "#%&@!?~^=+x0Zq]{|";

} // namespace

bool ParseBoxMode(std::string_view text, BoxMode* mode)
{
    for (const auto& entry : kModeNames) {
        if (text == entry.name) {
            *mode = entry.mode;
            return true;
        }
    }
    return false;
}

const char* BoxModeName(BoxMode mode)
{
    for (const auto& entry : kModeNames)
        if (entry.mode == mode)
            return entry.name;
    return "?";
}

void Record::Command(uint64_t ms, std::string_view text)
{
    std::fprintf(file_, "%llu ", static_cast<unsigned long long>(ms));
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\')
            std::fputc(byte, file_);
        else
            std::fprintf(file_, "\\x%02X", byte);
    }
    std::fputc('\n', file_);
    std::fflush(file_);
}

void Record::Event(uint64_t ms, const std::string& text)
{
    std::fprintf(file_, "%llu # %s\n", static_cast<unsigned long long>(ms), text.c_str());
    std::fflush(file_);
}

std::string LampBox::Receive(std::string_view bytes, uint64_t ms)
{
    std::string reply;
    for (char c : bytes) {
        if (c != '\n') {
            pending_ += c;
            if (pending_.size() < kLongestCommand)
                continue;
        }
        record_.Command(ms, pending_);
        reply += answer_(pending_, mode_);
        pending_.clear();
    }
    return reply;
}

std::string LampAnswer(std::string_view command, BoxMode mode)
{
    if (mode == BoxMode::Answer && command == "$1PU")
        return "*1PU\n";
    return {};
}

std::string GarbageBytes(size_t count, uint64_t* position)
{
    std::string bytes;
    bytes.reserve(count);
    for (size_t i = 0; i < count; ++i)
        bytes += kGarbage[(*position)++ % (sizeof kGarbage - 1)];
    return bytes;
}
