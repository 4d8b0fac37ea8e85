// lampbox: a stand-in for the serial lamp box, on a pseudo-terminal that the
// program opens as a COM port under Wine. See README.md.
#include "control_file.h"
#include "lamp_box.h"
#include "pty_line.h"
#include "sim/turrets/olympus_box.h"

#include <poll.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kPollMs = 5;
constexpr uint64_t kControlCheckMs = 20;

struct Options {
    std::string link;
    std::string record;
    std::string control;
    BoxMode mode = BoxMode::Answer;
    unsigned garbageRate = 1920;   // bytes per second: a line at 19200 baud, busy
    unsigned maxSeconds = 0;       // 0: until told to stop
    AnswerRule answer = LampAnswer;
};

constexpr struct {
    const char* name;
    AnswerRule answer;
} kDevices[] = {
    {"lamp", LampAnswer},
    {"olympus", OlympusAnswer},
};

bool ParseDevice(const char* text, AnswerRule* answer)
{
    for (const auto& device : kDevices) {
        if (std::strcmp(text, device.name) == 0) {
            *answer = device.answer;
            return true;
        }
    }
    return false;
}

volatile sig_atomic_t g_stop = 0;
void OnStopSignal(int) { g_stop = 1; }

uint64_t MonotonicMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec) / 1000000;
}

void Usage()
{
    std::fprintf(stderr,
                 "usage: lampbox --link PATH [--record FILE] [--control FILE]\n"
                 "               [--mode answer|silent|garbage|error] [--garbage-rate BYTES_PER_S]\n"
                 "               [--device lamp|olympus]\n"
                 "               [--max-seconds N]\n");
}

bool ParseUnsigned(const char* text, unsigned* value)
{
    char* end = nullptr;
    errno = 0;
    const unsigned long parsed = std::strtoul(text, &end, 10);
    if (errno != 0 || end == text || *end != 0 || parsed > 1000000)
        return false;
    *value = static_cast<unsigned>(parsed);
    return true;
}

bool ParseOptions(int argc, char** argv, Options* options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc)
            return false;
        const char* value = argv[++i];
        if (name == "--link")
            options->link = value;
        else if (name == "--record")
            options->record = value;
        else if (name == "--control")
            options->control = value;
        else if (name == "--mode") {
            if (!ParseBoxMode(value, &options->mode))
                return false;
        } else if (name == "--device") {
            if (!ParseDevice(value, &options->answer))
                return false;
        } else if (name == "--garbage-rate") {
            if (!ParseUnsigned(value, &options->garbageRate))
                return false;
        } else if (name == "--max-seconds") {
            if (!ParseUnsigned(value, &options->maxSeconds))
                return false;
        } else
            return false;
    }
    return !options->link.empty();
}

class BoxProcess {
public:
    BoxProcess(const Options& options, Record& record)
        : options_(options), record_(record), box_(record, options.answer), control_(options.control), start_(MonotonicMs())
    {
        box_.SetMode(options.mode);
    }

    int Run();

private:
    uint64_t Ms() const { return MonotonicMs() - start_; }
    bool Connect();
    void Drop();
    void SetMode(BoxMode mode);
    void ReadLine();
    void SendBytes(const std::string& bytes);
    void StreamGarbage();
    // Records each change the program makes to the line's baud rate and framing.
    void NoteSettings();
    // False when the box is to stop.
    bool FollowControl();
    bool Apply(const std::string& command);

    const Options& options_;
    Record& record_;
    LampBox box_;
    ControlFile control_;
    PtyLine line_;
    uint64_t start_;
    uint64_t garbageSince_ = 0;
    uint64_t garbageSent_ = 0;
    uint64_t garbagePosition_ = 0;
    std::string settings_;
};

bool BoxProcess::Connect()
{
    std::string error;
    if (!line_.Open(options_.link, &error)) {
        record_.Event(Ms(), "cannot open the line: " + error);
        std::fprintf(stderr, "lampbox: %s\n", error.c_str());
        return false;
    }
    box_.ForgetPending();
    settings_.clear();
    garbageSince_ = Ms();
    garbageSent_ = 0;
    record_.Event(Ms(), "line " + line_.DevicePath() + " at " + options_.link);
    std::fprintf(stderr, "lampbox: %s, linked at %s\n", line_.DevicePath().c_str(), options_.link.c_str());
    return true;
}

void BoxProcess::Drop()
{
    line_.Drop();
    record_.Event(Ms(), "line dropped");
}

void BoxProcess::SetMode(BoxMode mode)
{
    // Garbage still waiting in the line would follow the box into its new mood.
    line_.DiscardUnread();
    box_.SetMode(mode);
    garbageSince_ = Ms();
    garbageSent_ = 0;
    record_.Event(Ms(), std::string("mode ") + BoxModeName(mode));
}

void BoxProcess::ReadLine()
{
    char buffer[512];
    for (;;) {
        const ssize_t got = read(line_.Fd(), buffer, sizeof buffer);
        if (got <= 0)
            return;
        SendBytes(box_.Receive(std::string_view(buffer, static_cast<size_t>(got)), Ms()));
    }
}

// Like a UART whose receiver is not listening, bytes the terminal has no
// room for are lost.
void BoxProcess::SendBytes(const std::string& bytes)
{
    if (!bytes.empty() && line_.IsOpen() && write(line_.Fd(), bytes.data(), bytes.size()) < 0 && errno != EAGAIN)
        record_.Event(Ms(), std::string("write failed: ") + std::strerror(errno));
}

void BoxProcess::StreamGarbage()
{
    if (box_.Mode() != BoxMode::Garbage || !line_.IsOpen())
        return;
    const uint64_t due = (Ms() - garbageSince_) * options_.garbageRate / 1000;
    if (due <= garbageSent_)
        return;
    SendBytes(GarbageBytes(static_cast<size_t>(due - garbageSent_), &garbagePosition_));
    garbageSent_ = due;
}

void BoxProcess::NoteSettings()
{
    const std::string settings = line_.Settings();
    if (settings.empty() || settings == settings_)
        return;
    record_.Event(Ms(), "line settings " + settings);
    settings_ = settings;
}

bool BoxProcess::Apply(const std::string& command)
{
    BoxMode mode;
    if (ParseBoxMode(command, &mode))
        SetMode(mode);
    else if (command == "drop")
        Drop();
    else if (command == "reconnect")
        Connect();
    else if (command == "quit")
        return false;
    else
        record_.Event(Ms(), "unknown control command: " + command);
    return true;
}

bool BoxProcess::FollowControl()
{
    if (options_.control.empty())
        return true;
    if (!control_.Exists())
        return false;
    std::string command;
    while (control_.NextLine(&command))
        if (!Apply(command))
            return false;
    return true;
}

int BoxProcess::Run()
{
    if (!options_.control.empty() && !control_.Create()) {
        std::fprintf(stderr, "lampbox: cannot create %s\n", options_.control.c_str());
        return 1;
    }
    record_.Event(Ms(), std::string("mode ") + BoxModeName(box_.Mode()));
    if (!Connect())
        return 1;
    uint64_t nextControlCheck = 0;
    while (!g_stop) {
        if (options_.maxSeconds != 0 && Ms() >= options_.maxSeconds * 1000ull)
            break;
        if (Ms() >= nextControlCheck) {
            if (!FollowControl())
                break;
            NoteSettings();
            nextControlCheck = Ms() + kControlCheckMs;
        }
        if (!line_.IsOpen()) {
            usleep(kPollMs * 1000);
            continue;
        }
        pollfd wait{line_.Fd(), POLLIN, 0};
        if (poll(&wait, 1, kPollMs) > 0 && (wait.revents & POLLIN))
            ReadLine();
        StreamGarbage();
    }
    line_.Drop();
    record_.Event(Ms(), "stopped");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        Usage();
        return 2;
    }
    FILE* recordFile = stdout;
    if (!options.record.empty() && !(recordFile = std::fopen(options.record.c_str(), "w"))) {
        std::fprintf(stderr, "lampbox: cannot write %s: %s\n", options.record.c_str(), std::strerror(errno));
        return 1;
    }
    struct sigaction stop{};
    stop.sa_handler = OnStopSignal;
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &stop, nullptr);
    signal(SIGPIPE, SIG_IGN);

    Record record(recordFile);
    BoxProcess box(options, record);
    return box.Run();
}
