// The serial port seam over a real COM port: Wine maps COM2 to the
// pseudo-terminal of a lamp box stand-in.
#include "infra/serial_port.h"
#include "tests/support/lamp_box_stand_in.h"
#include "tests/support/log_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Texts = std::vector<std::string>;

namespace {

constexpr SerialTimeouts kBoxTimeouts{20, 10, 100, 10, 100};
constexpr int kBoxPort = LampBoxStandIn::kComPort;

std::string ReadAnswer(SerialPort& port)
{
    char buffer[16] = {};
    const int got = port.Read(buffer, 9);
    return got > 0 ? std::string(buffer, static_cast<size_t>(got)) : std::string();
}

DWORD HandleCount()
{
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return count;
}

// The lamp box's tests talk to it at its 19200 baud; a turret box talks at
// another rate.
TEST(SerialPort, TheBaudRateIsTheCallersChoice)
{
    LampBoxStandIn box;
    SerialPort port;
    for (uint32_t baud : {9600u, 115200u}) {
        ASSERT_EQ(port.Open(kBoxPort, baud, kBoxTimeouts).step, SerialOpenStep::Done);
        EXPECT_TRUE(box.WaitForEvent("line settings " + std::to_string(baud) + " 8N1"));
    }
}

// A silent box, a garbage stream and a dead line all end a read within its
// timeouts, with what came or nothing.
TEST(SerialPort, ReadsAreBoundedWhateverTheLineDoes)
{
    LampBoxStandIn box("silent");
    SerialPort port;
    ASSERT_EQ(port.Open(kBoxPort, 19200, kBoxTimeouts).step, SerialOpenStep::Done);
    char buffer[16];
    const ULONGLONG started = GetTickCount64();
    EXPECT_EQ(port.Read(buffer, 9), 0);
    // The port keeps the time-outs it was opened with: 100 ms and 10 ms a byte.
    const ULONGLONG waited = GetTickCount64() - started;
    EXPECT_GE(waited, 190u - 16u);
    EXPECT_LT(waited, 2000u);

    box.Tell("garbage");
    ASSERT_EQ(port.Read(buffer, 9), 9);
    EXPECT_NE(buffer[0], '*');

    box.Tell("drop");
    EXPECT_FALSE(port.Write("$1PU\n"));
    EXPECT_LE(port.Read(buffer, 9), 0);
}

TEST(SerialPort, AClosedPortIsGone)
{
    LampBoxStandIn box;
    SerialPort port;
    ASSERT_EQ(port.Open(kBoxPort, 19200, kBoxTimeouts).step, SerialOpenStep::Done);
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.Write("$1PD\n"));
    char buffer[16];
    EXPECT_EQ(port.Read(buffer, 9), -1);

    // And the same object opens it again.
    ASSERT_EQ(port.Open(kBoxPort, 19200, kBoxTimeouts).step, SerialOpenStep::Done);
    EXPECT_TRUE(port.Write("$1PU\n"));
    EXPECT_EQ(ReadAnswer(port), "*1PU\n");
    ASSERT_TRUE(box.WaitForCommands(1));
    EXPECT_EQ(box.CommandTexts(), Texts{"$1PU"});
}

TEST(SerialPort, APortThatCannotBeSetUpIsClosedAgain)
{
    // With its box gone, Wine still opens COM2 but cannot read its state.
    LampBoxStandIn box;
    box.Tell("drop");
    SerialPort port;
    const DWORD handles = HandleCount();
    const SerialOpenResult result = port.Open(kBoxPort, 19200, kBoxTimeouts);
    EXPECT_EQ(result.step, SerialOpenStep::GetState);
    EXPECT_NE(result.error, 0u);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(HandleCount(), handles);

    LogCapture log;
    EXPECT_EQ(OpenSerialPortLogged(port, kBoxPort, 19200, kBoxTimeouts), 2);
    EXPECT_EQ(log.Lines(),
              (Texts{"Trying to open com 2", "GetCommState failed with error " + std::to_string(result.error) + "."}));

    // The lamp dialog's tests check the lines of a port that does not open;
    // the second of them carries the system's reason.
    log.Clear();
    EXPECT_EQ(OpenSerialPortLogged(port, 9, 19200, kBoxTimeouts), 1) << "COM9 leads nowhere";
    EXPECT_GT(log.Lines().at(1).size(), std::string("RS232 CreateFile failed with Error").size());
}

} // namespace
