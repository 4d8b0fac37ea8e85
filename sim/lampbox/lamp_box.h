#pragma once
// What the lamp box does with the bytes it receives: it splits them into
// commands at each line feed, writes every command to its record with the
// time it arrived, and answers the power-up command while it is in the mood.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

enum class BoxMode { Answer, Silent, Garbage };

bool ParseBoxMode(std::string_view text, BoxMode* mode);
const char* BoxModeName(BoxMode mode);

// One line per command or event: milliseconds since the box started, a
// blank, then the command as received without its line feed (bytes outside
// printable ASCII as \xNN), or "# " and an event.
class Record {
public:
    explicit Record(FILE* file) : file_(file) {}
    void Command(uint64_t ms, std::string_view text);
    void Event(uint64_t ms, const std::string& text);

private:
    FILE* file_;
};

class LampBox {
public:
    explicit LampBox(Record& record) : record_(record) {}

    // The bytes that arrived at `ms`; returns what the box sends back.
    std::string Receive(std::string_view bytes, uint64_t ms);
    void SetMode(BoxMode mode) { mode_ = mode; }
    BoxMode Mode() const { return mode_; }
    // A dropped line loses whatever half command was on it.
    void ForgetPending() { pending_.clear(); }

private:
    std::string Answer(std::string_view command) const;

    Record& record_;
    BoxMode mode_ = BoxMode::Answer;
    std::string pending_;
};

// Bytes that never start an answer the program would take for the box's.
std::string GarbageBytes(size_t count, uint64_t* position);
