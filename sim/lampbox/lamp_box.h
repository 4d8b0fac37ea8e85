#pragma once
// What the lamp box does with the bytes it receives: it splits them into
// commands at each line feed, writes every command to its record with the
// time it arrived, and answers the power-up command while it is in the mood.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// Error: the box answers with its error reply where it has one.
enum class BoxMode { Answer, Silent, Garbage, Error };

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

// What a box sends back for one command (without its line feed) in a mode.
using AnswerRule = std::string (*)(std::string_view command, BoxMode mode);
// The lamp box answers "$1PU" with "*1PU" while it answers.
std::string LampAnswer(std::string_view command, BoxMode mode);

// The serial box: the lamp box, or another box on the same kind of line
// with an answer rule of its own.
class LampBox {
public:
    explicit LampBox(Record& record, AnswerRule answer = LampAnswer) : record_(record), answer_(answer) {}

    // The bytes that arrived at `ms`; returns what the box sends back.
    std::string Receive(std::string_view bytes, uint64_t ms);
    void SetMode(BoxMode mode) { mode_ = mode; }
    BoxMode Mode() const { return mode_; }
    // A dropped line loses whatever half command was on it.
    void ForgetPending() { pending_.clear(); }

private:
    Record& record_;
    AnswerRule answer_;
    BoxMode mode_ = BoxMode::Answer;
    std::string pending_;
};

// Bytes that never start an answer the program would take for the box's.
std::string GarbageBytes(size_t count, uint64_t* position);
