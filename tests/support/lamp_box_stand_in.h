#pragma once
// A lamp box of the test's own: the stand-in of sim/lampbox, started from the
// test (Wine starts Linux programs too) on the pseudo-terminal behind COM2.
// ./test.sh maps COM2 of the tests' Wine prefix to the stand-in's link, so
// the program under test opens the real COM port and talks to this box.
//
//     LampBoxStandIn box("silent");
//     ... the program opens COM2 and sends ...
//     EXPECT_EQ(box.CommandTexts(), (std::vector<std::string>{"$1PU", "$1DO00000"}));
//
// The box stops when the object goes, or at the latest when its folder is
// removed.
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct BoxCommand {
    uint64_t ms;        // when it arrived, in the box's real-time milliseconds
    std::string text;   // without its line feed
};

class LampBoxStandIn {
public:
    static constexpr int kComPort = 2;

    // mode: "answer", "silent" or "garbage"; extra: more options, e.g.
    // "--garbage-rate 20". Returns once the box's line is up.
    explicit LampBoxStandIn(const std::string& mode = "answer", const std::string& extra = "");
    ~LampBoxStandIn();
    LampBoxStandIn(const LampBoxStandIn&) = delete;
    LampBoxStandIn& operator=(const LampBoxStandIn&) = delete;

    // Every command received so far, oldest first.
    std::vector<BoxCommand> Commands() const;
    std::vector<std::string> CommandTexts() const;
    // Every event the box noted ("line settings 19200 8N1", "line dropped"...).
    std::vector<std::string> Events() const;

    // Waits (real time, at most timeoutMs) until the box has received
    // `count` commands; false when it has not by then.
    bool WaitForCommands(size_t count, DWORD timeoutMs = 3000) const;
    bool WaitForEvent(const std::string& event, DWORD timeoutMs = 3000) const;

    // Tells the running box a control command ("answer", "silent",
    // "garbage", "drop", "reconnect") and waits until it has followed.
    void Tell(const std::string& command);

private:
    struct Line {
        uint64_t ms;
        bool event;
        std::string text;
    };
    std::vector<Line> RecordLines() const;
    size_t EventCount(const std::string& event) const;

    std::filesystem::path folder_;
    std::filesystem::path record_;
    std::filesystem::path control_;
};

// The Unix path the Wine prefix maps COM<port> to; empty when it maps none.
std::string MappedComPortPath(int port);
