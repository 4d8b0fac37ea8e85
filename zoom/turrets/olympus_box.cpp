// The Olympus turret box on a serial port: set up once, then every goto
// sends its position. The box never says when the turret has arrived.
#include "core/turret_steps.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "infra/serial_port.h"
#include "infra/settings.h"
#include "zoom/turrets/turret_kinds.h"

namespace {

constexpr uint32_t kBaudRate = 9600;
constexpr SerialTimeouts kTimeouts{20, 10, 10, 10, 100};
constexpr size_t kReplyReadSize = 9;
// A box that keeps sending without a valid reply is given about a second,
// by the clock and by the bytes a 9600-baud line carries in a second (a
// pseudo-terminal delivers far faster than the clock can tell).
constexpr uint64_t kReplyWaitMs = 1000;
constexpr size_t kReplyWaitBytes = kBaudRate / 10;
constexpr uint32_t kSettleMs = 50;
constexpr uint32_t kNoReplySettleMs = 20;

SerialPort g_olympusPort;
bool g_olympusReady;

// True when the box gave a valid reply (its error reply included).
bool AwaitQueryReply()
{
    const uint64_t start = NowMs64();
    size_t received = 0;
    for (;;) {
        char reply[kReplyReadSize];
        const int got = g_olympusPort.Read(reply, sizeof reply);
        if (got < 0) {
            g_log.Write("failed to ReadFile ");
            g_log.Write("init_olympus_comm");
            g_log.Write("\n");
            return false;
        }
        if (got == 0)
            break;
        const OlympusReply answer = ClassifyOlympusReply(std::string_view(reply, static_cast<size_t>(got)));
        if (answer != OlympusReply::None) {
            g_log.Write(answer == OlympusReply::Error ? "The Olymous Box Returned an Error\n" : "The box responded\n");
            return true;
        }
        received += static_cast<size_t>(got);
        if (received >= kReplyWaitBytes || NowMs64() - start >= kReplyWaitMs)
            break;
    }
    g_log.Write("The Box did not respond to OB?\n");
    return false;
}

int init_olympus_comm()
{
    const int port = GetSettingInt(L"Zoom", L"CommPort", L"3");
    const int result = OpenSerialPortLogged(g_olympusPort, port, kBaudRate, kTimeouts);
    if (result != 0)
        return result;
    g_olympusPort.Write(kOlympusQuery);
    const bool replied = AwaitQueryReply();
    SleepMs(kSettleMs);
    if (!replied)
        SleepMs(kNoReplySettleMs);
    g_olympusReady = true;
    return 0;
}

} // namespace

void SetUpOlympusBox()
{
    if (!g_olympusReady)
        init_olympus_comm();
}

void OlympusBoxGoto(int8_t n)
{
    LogPrintf(g_log, "OLYMPUS_GoToPosition(%d)\n", n);
    // A port that failed to open or set up is closed: the text goes nowhere.
    g_olympusPort.Write(OlympusGotoCommand(n).View());
}

void ResetOlympusBox()
{
    g_olympusPort.Close();
    g_olympusReady = false;
}
