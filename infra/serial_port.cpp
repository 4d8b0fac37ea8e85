#include "infra/serial_port.h"

#include "infra/log.h"

#include <algorithm>
#include <cstdio>

namespace {

// Texts of the system's messages end in a line break of their own.
void LogSystemMessage(DWORD error)
{
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                        0, text, sizeof text, nullptr);
    size_t end = std::min<size_t>(length, sizeof text - 1);
    while (end > 0 && (text[end - 1] == '\r' || text[end - 1] == '\n' || text[end - 1] == ' '))
        --end;
    text[end] = 0;
    g_log.Write(text);
}

void LogOpenFailure(DWORD error)
{
    g_log.Write("RS232 CreateFile failed with Error");
    LogSystemMessage(error);
    g_log.Write("\n");
    if (error == ERROR_INVALID_NAME)
        g_log.Write("RS232 CreateFile failed with ERROR_INVALID_NAME\n");
    else if (error == ERROR_FILE_NOT_FOUND)
        g_log.Write("RS232 CreateFile failed with ERROR_FILE_NOT_FOUND\n");
    else
        LogPrintf(g_log, "RS232 CreateFile failed with error %d.\n", static_cast<int>(error));
}

} // namespace

SerialOpenResult SerialPort::Open(int number, uint32_t baudRate, const SerialTimeouts& timeouts)
{
    Close();
    if (number == 0)
        return {SerialOpenStep::NoPort, 0};
    wchar_t name[32];
    std::swprintf(name, std::size(name), L"\\\\.\\COM%d", number);
    handle_ = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE)
        return {SerialOpenStep::Open, GetLastError()};
    const SerialOpenResult result = SetUp(baudRate, timeouts);
    if (result.step != SerialOpenStep::Done)
        Close();
    return result;
}

SerialOpenResult SerialPort::SetUp(uint32_t baudRate, const SerialTimeouts& timeouts)
{
    DCB state{};
    state.DCBlength = sizeof state;
    if (!GetCommState(handle_, &state))
        return {SerialOpenStep::GetState, GetLastError()};
    state.BaudRate = baudRate;
    state.ByteSize = 8;
    state.Parity = NOPARITY;
    state.StopBits = ONESTOPBIT;
    if (!SetCommState(handle_, &state))
        return {SerialOpenStep::SetState, GetLastError()};
    COMMTIMEOUTS commTimeouts{};
    commTimeouts.ReadIntervalTimeout = timeouts.readIntervalMs;
    commTimeouts.ReadTotalTimeoutMultiplier = timeouts.readPerByteMs;
    commTimeouts.ReadTotalTimeoutConstant = timeouts.readConstantMs;
    commTimeouts.WriteTotalTimeoutMultiplier = timeouts.writePerByteMs;
    commTimeouts.WriteTotalTimeoutConstant = timeouts.writeConstantMs;
    if (!SetCommTimeouts(handle_, &commTimeouts))
        return {SerialOpenStep::SetTimeouts, GetLastError()};
    return {SerialOpenStep::Done, 0};
}

void SerialPort::Close()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

bool SerialPort::Write(std::string_view bytes)
{
    if (!IsOpen())
        return false;
    DWORD written = 0;
    const auto length = static_cast<DWORD>(std::min<size_t>(bytes.size(), MAXDWORD));
    return WriteFile(handle_, bytes.data(), length, &written, nullptr) && written == bytes.size();
}

int SerialPort::Read(char* buffer, size_t capacity)
{
    if (!IsOpen())
        return -1;
    DWORD got = 0;
    const auto length = static_cast<DWORD>(std::min<size_t>(capacity, INT_MAX));
    if (!ReadFile(handle_, buffer, length, &got, nullptr))
        return -1;
    return static_cast<int>(got);
}

int OpenSerialPortLogged(SerialPort& port, int number, uint32_t baudRate, const SerialTimeouts& timeouts)
{
    if (number == 0) {
        port.Close();
        g_log.Write("No comm ports found\n");
        return static_cast<int>(SerialOpenStep::NoPort);
    }
    LogPrintf(g_log, "Trying to open com %d\n", number);
    const SerialOpenResult result = port.Open(number, baudRate, timeouts);
    const int error = static_cast<int>(result.error);
    switch (result.step) {
    case SerialOpenStep::Open: LogOpenFailure(result.error); break;
    case SerialOpenStep::GetState: LogPrintf(g_log, "GetCommState failed with error %d.\n", error); break;
    case SerialOpenStep::SetState: LogPrintf(g_log, "SetCommState failed with error %d.\n", error); break;
    case SerialOpenStep::SetTimeouts: LogPrintf(g_log, "SetCommTimeouts failed with error %d.\n", error); break;
    case SerialOpenStep::Done:
    case SerialOpenStep::NoPort: break;
    }
    return static_cast<int>(result.step);
}
