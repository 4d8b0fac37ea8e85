// The serial port seam over a real COM port: Wine maps COM2 to the
// pseudo-terminal of a lamp box stand-in.
#include "infra/serial_port.h"
#include "tests/support/lamp_box_stand_in.h"
#include "tests/support/log_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr SerialTimeouts kBoxTimeouts{20, 10, 100, 10, 100};
constexpr int kUnmappedPort = 9;

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

TEST(SerialPort, OpensAt19200Baud8N1AndTalksToTheBox)
{
    LampBoxStandIn box;
    SerialPort port;
    const SerialOpenResult result = port.Open(LampBoxStandIn::kComPort, 19200, kBoxTimeouts);
    ASSERT_EQ(result.step, SerialOpenStep::Done) << "error " << result.error;
    EXPECT_TRUE(port.IsOpen());
    EXPECT_TRUE(box.WaitForEvent("line settings 19200 8N1"));

    EXPECT_TRUE(port.Write("$1PU\n"));
    EXPECT_EQ(ReadAnswer(port), "*1PU\n");
    EXPECT_TRUE(port.Write("$3DO00502\n"));
    ASSERT_TRUE(box.WaitForCommands(2));
    EXPECT_EQ(box.CommandTexts(), (std::vector<std::string>{"$1PU", "$3DO00502"}));
}

TEST(SerialPort, TheBaudRateIsTheCallersChoice)
{
    LampBoxStandIn box;
    SerialPort port;
    ASSERT_EQ(port.Open(LampBoxStandIn::kComPort, 9600, kBoxTimeouts).step, SerialOpenStep::Done);
    EXPECT_TRUE(box.WaitForEvent("line settings 9600 8N1"));
    ASSERT_EQ(port.Open(LampBoxStandIn::kComPort, 115200, kBoxTimeouts).step, SerialOpenStep::Done);
    EXPECT_TRUE(box.WaitForEvent("line settings 115200 8N1"));
}

// A silent box, a garbage stream and a dead line all end a read within its
// timeouts, with what came or nothing.
TEST(SerialPort, ReadsAreBoundedWhateverTheLineDoes)
{
    LampBoxStandIn box("silent");
    SerialPort port;
    ASSERT_EQ(port.Open(LampBoxStandIn::kComPort, 19200, kBoxTimeouts).step, SerialOpenStep::Done);
    char buffer[16];
    EXPECT_EQ(port.Read(buffer, 9), 0);

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
    ASSERT_EQ(port.Open(LampBoxStandIn::kComPort, 19200, kBoxTimeouts).step, SerialOpenStep::Done);
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.Write("$1PD\n"));
    char buffer[16];
    EXPECT_EQ(port.Read(buffer, 9), -1);

    // And the same object opens it again.
    ASSERT_EQ(port.Open(LampBoxStandIn::kComPort, 19200, kBoxTimeouts).step, SerialOpenStep::Done);
    EXPECT_TRUE(port.Write("$1PU\n"));
    EXPECT_EQ(ReadAnswer(port), "*1PU\n");
    ASSERT_TRUE(box.WaitForCommands(1));
    EXPECT_EQ(box.CommandTexts(), (std::vector<std::string>{"$1PU"}));
}

TEST(SerialPort, APortThatCannotBeSetUpIsClosedAgain)
{
    // With its box gone, Wine still opens COM2 but cannot read its state.
    LampBoxStandIn box;
    box.Tell("drop");
    SerialPort port;
    const DWORD handles = HandleCount();
    const SerialOpenResult result = port.Open(LampBoxStandIn::kComPort, 19200, kBoxTimeouts);
    EXPECT_EQ(result.step, SerialOpenStep::GetState);
    EXPECT_NE(result.error, 0u);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(HandleCount(), handles);

    LogCapture log;
    EXPECT_EQ(OpenSerialPortLogged(port, LampBoxStandIn::kComPort, 19200, kBoxTimeouts), 2);
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{
                               "Trying to open com 2",
                               "GetCommState failed with error " + std::to_string(result.error) + ".",
                           }));
}

TEST(SerialPort, OpenFailuresAreLoggedWithTheirReason)
{
    LogCapture log;
    SerialPort port;
    EXPECT_EQ(OpenSerialPortLogged(port, kUnmappedPort, 19200, kBoxTimeouts), 1);
    EXPECT_FALSE(port.IsOpen());
    const auto lines = log.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Trying to open com 9");
    EXPECT_EQ(lines[1].rfind("RS232 CreateFile failed with Error", 0), 0u);
    EXPECT_GT(lines[1].size(), std::string("RS232 CreateFile failed with Error").size()) << "the system's text";
    EXPECT_EQ(lines[2], "RS232 CreateFile failed with ERROR_FILE_NOT_FOUND");

    log.Clear();
    EXPECT_EQ(OpenSerialPortLogged(port, 0, 19200, kBoxTimeouts), 5);
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"No comm ports found"}));
}

} // namespace
