#include "lamp/lamp_box.h"

#include "core/lamp_commands.h"
#include "infra/clock.h"
#include "infra/log.h"
#include "infra/serial_port.h"

bool g_lampBoxActive;

namespace {

constexpr uint32_t kLampBaudRate = 19200;
constexpr SerialTimeouts kLampTimeouts{20, 10, 100, 10, 100};
constexpr uint32_t kCommandSpacingMs = 20;
constexpr uint32_t kLevelDelayMs = 50;
constexpr uint32_t kGreetingSettleMs = 50;
constexpr size_t kAnswerReadSize = 9;
// A box that keeps sending without ever answering is given about a second:
// by the clock, and by the bytes a 19200-baud line carries in a second (a
// line without a baud rate, such as a pseudo-terminal, delivers far faster
// than the clock can tell).
constexpr uint64_t kAnswerWaitMs = 1000;
constexpr size_t kAnswerWaitBytes = kLampBaudRate / 10;
// The tick count moves in steps of up to 16 ms, so a measured gap can be
// that much longer than the real one.
constexpr uint64_t kTickStepMs = 16;

SerialPort g_lampPort;
uint64_t g_lastSendMs;

void WaitForSpacing()
{
    const uint64_t measured = NowMs64() - g_lastSendMs;
    const uint64_t surelyPassed = measured > kTickStepMs ? measured - kTickStepMs : 0;
    if (surelyPassed < kCommandSpacingMs)
        SleepMs(static_cast<uint32_t>(kCommandSpacingMs - surelyPassed));
}

bool WriteToBox(std::string_view text)
{
    const bool sent = g_lampPort.Write(text);
    g_lastSendMs = NowMs64();
    return sent;
}

// True when the box answered "$1PU".
bool AwaitPowerUpAnswer()
{
    const uint64_t start = NowMs64();
    size_t received = 0;
    for (;;) {
        char answer[kAnswerReadSize];
        const int got = g_lampPort.Read(answer, sizeof answer);
        if (got < 0) {
            g_log.Write("failed to ReadFile ");
            g_log.Write("KRV_InitLampRS232");
            g_log.Write("\n");
            break;
        }
        if (got == 0)
            break;
        if (IsLampPowerUpAnswer(std::string_view(answer, static_cast<size_t>(got)))) {
            g_log.Write("The box responded\n");
            return true;
        }
        received += static_cast<size_t>(got);
        if (received >= kAnswerWaitBytes || NowMs64() - start >= kAnswerWaitMs)
            break;
    }
    g_log.Write("The Box did not respond to $1PU\n");
    return false;
}

} // namespace

int InitLampRS232(int port)
{
    g_lampBoxActive = false;
    const int result = OpenSerialPortLogged(g_lampPort, port, kLampBaudRate, kLampTimeouts);
    if (result != 0)
        return result;
    WriteToBox(kLampPowerUp);
    const bool answered = AwaitPowerUpAnswer();
    SleepMs(kGreetingSettleMs);
    g_lampBoxActive = true;
    if (!answered) {
        // A box that missed the greeting may have lamps on from before.
        SleepMs(kCommandSpacingMs);
        SendLampCommand(kLampAllOff);
    }
    return 0;
}

bool SendLampCommand(std::string_view text) { return g_lampBoxActive && WriteToBox(text); }

void SetLampRS232Level(int channel, int level)
{
    const LampCommand command = LampLevelCommand(channel, level);
    SleepMs(kLevelDelayMs);
    WaitForSpacing();
    SendLampCommand(command.View());
}

void SetLampRS232Switches(uint8_t mask)
{
    WaitForSpacing();
    SendLampCommand(LampSwitchCommand(mask).View());
}

void SwitchLampBoxOff()
{
    if (g_lampPort.IsOpen()) {
        WaitForSpacing();
        SendLampCommand(kLampPowerDown);
    }
    g_lampPort.Close();
    g_lampBoxActive = false;
}

void ResetLampBox()
{
    g_lampPort.Close();
    g_lampBoxActive = false;
    g_lastSendMs = 0;
}
