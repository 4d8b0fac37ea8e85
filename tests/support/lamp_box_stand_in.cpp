#include "tests/support/lamp_box_stand_in.h"

#include "tests/support/host_tool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>

namespace {

constexpr DWORD kPollMs = 5;
constexpr DWORD kStartTimeoutMs = 5000;
// A box whose test died without stopping it ends on its own.
constexpr int kLongestLifeS = 600;

std::filesystem::path StandInProgram()
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(self).parent_path() / L"lampbox";
}

std::filesystem::path NewFolder()
{
    static std::atomic<int> count{0};
    auto folder = std::filesystem::temp_directory_path() /
                  (L"lampbox-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The event a control command leads to.
std::string EventOf(const std::string& command)
{
    if (command == "drop")
        return "line dropped";
    if (command == "reconnect")
        return "line /dev/";
    return "mode " + command;
}

template <typename Done>
bool WaitUntil(DWORD timeoutMs, Done done)
{
    for (DWORD waited = 0;; waited += kPollMs) {
        if (done())
            return true;
        if (waited >= timeoutMs)
            return false;
        Sleep(kPollMs);
    }
}

} // namespace

std::string MappedComPortPath(int port)
{
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    const std::wstring name = L"COM" + std::to_wstring(port);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Wine\\Ports", name.c_str(), RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS)
        return {};
    std::string path;
    for (const wchar_t* p = value; *p; ++p)
        path += static_cast<char>(*p);
    return path;
}

LampBoxStandIn::LampBoxStandIn(const std::string& mode, const std::string& extra)
    : folder_(NewFolder()), record_(folder_ / L"record.txt"), control_(folder_ / L"control.txt")
{
    const std::string link = MappedComPortPath(kComPort);
    if (link.empty()) {
        ADD_FAILURE() << "COM" << kComPort << " is not mapped in the Wine prefix; ./test.sh maps it";
        return;
    }
    // Wine hands the stand-in the console of the test; its own messages
    // go to a file, so nothing it leaves running holds CTest's output pipe.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileW((folder_ / L"output.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = output;
    startup.hStdOutput = output;
    startup.hStdError = output;

    std::wostringstream command;
    command << L"\"" << StandInProgram().wstring() << L"\"";
    const std::string options = " --link " + Quoted(link) + " --record " + Quoted(UnixPath(record_)) +
                                " --control " + Quoted(UnixPath(control_)) + " --mode " + mode +
                                " --max-seconds " + std::to_string(kLongestLifeS) + " " + extra;
    for (char c : options)
        command << static_cast<wchar_t>(c);
    std::wstring commandLine = command.str();
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(output);
    if (!started) {
        ADD_FAILURE() << "the lamp box stand-in did not start: error " << GetLastError();
        return;
    }
    // Wine gives no handle for a Linux process: the box is watched through
    // its record.
    if (process.hProcess)
        CloseHandle(process.hProcess);
    if (process.hThread)
        CloseHandle(process.hThread);
    if (!WaitForEvent("line /dev/", kStartTimeoutMs))
        ADD_FAILURE() << "the lamp box stand-in did not bring its line up";
}

LampBoxStandIn::~LampBoxStandIn()
{
    { std::ofstream(control_, std::ios::app) << "quit\n"; }
    WaitForEvent("stopped", 2000);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::vector<LampBoxStandIn::Line> LampBoxStandIn::RecordLines() const
{
    std::vector<Line> lines;
    std::ifstream file(record_, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    size_t start = 0;
    // A last line without its line feed is still being written.
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = text.substr(start, end - start);
        const size_t blank = line.find(' ');
        if (blank == std::string::npos)
            continue;
        Line parsed{std::stoull(line.substr(0, blank)), false, line.substr(blank + 1)};
        if (parsed.text.rfind("# ", 0) == 0) {
            parsed.event = true;
            parsed.text.erase(0, 2);
        }
        lines.push_back(parsed);
    }
    return lines;
}

std::vector<BoxCommand> LampBoxStandIn::Commands() const
{
    std::vector<BoxCommand> commands;
    for (const Line& line : RecordLines())
        if (!line.event)
            commands.push_back({line.ms, line.text});
    return commands;
}

std::vector<std::string> LampBoxStandIn::CommandTexts() const
{
    std::vector<std::string> texts;
    for (const BoxCommand& command : Commands())
        texts.push_back(command.text);
    return texts;
}

std::vector<std::string> LampBoxStandIn::Events() const
{
    std::vector<std::string> events;
    for (const Line& line : RecordLines())
        if (line.event)
            events.push_back(line.text);
    return events;
}

size_t LampBoxStandIn::EventCount(const std::string& event) const
{
    size_t count = 0;
    for (const std::string& text : Events())
        count += text.rfind(event, 0) == 0;
    return count;
}

bool LampBoxStandIn::WaitForCommands(size_t count, DWORD timeoutMs) const
{
    return WaitUntil(timeoutMs, [&] { return Commands().size() >= count; });
}

bool LampBoxStandIn::WaitForEvent(const std::string& event, DWORD timeoutMs) const
{
    return WaitUntil(timeoutMs, [&] { return EventCount(event) > 0; });
}

void LampBoxStandIn::Tell(const std::string& command)
{
    const std::string event = EventOf(command);
    const size_t before = EventCount(event);
    { std::ofstream(control_, std::ios::app) << command << "\n"; }
    EXPECT_TRUE(WaitUntil(3000, [&] { return EventCount(event) > before; }))
        << "the lamp box stand-in did not follow \"" << command << "\"";
}
