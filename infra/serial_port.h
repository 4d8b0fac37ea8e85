#pragma once
// The machine's serial devices (the lamp box, the turret box) hang on COM
// ports. Every serial access of the program goes through here; tests drive
// the same code over a pseudo-terminal that Wine maps to a COM port.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

// As COMMTIMEOUTS, in milliseconds: a read ends when `readIntervalMs` pass
// between two bytes, or when readPerByteMs x requested bytes +
// readConstantMs have passed; a write gives up likewise.
struct SerialTimeouts {
    uint32_t readIntervalMs;
    uint32_t readPerByteMs;
    uint32_t readConstantMs;
    uint32_t writePerByteMs;
    uint32_t writeConstantMs;
};

// The step an opening failed at. The numbers are the result codes the
// serial devices report in their log.
enum class SerialOpenStep {
    Done = 0,
    Open = 1,
    GetState = 2,
    SetState = 3,
    SetTimeouts = 4,
    NoPort = 5,
};

struct SerialOpenResult {
    SerialOpenStep step;
    DWORD error;   // the system's error code of the failed step, 0 when done
};

class SerialPort {
public:
    SerialPort() = default;
    ~SerialPort() { Close(); }
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens "\\.\COM<number>" for reading and writing, not shared, existing
    // devices only, at `baudRate` with 8 data bits, no parity and one stop
    // bit, and the timeouts. A port already open here is closed first. A port
    // that opens but cannot be set up is closed again, so that the next
    // attempt (here or in another program) can have it.
    SerialOpenResult Open(int number, uint32_t baudRate, const SerialTimeouts& timeouts);
    // The handle is gone afterwards: nothing can reach a closed port.
    void Close();
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

    // True when every byte went out.
    bool Write(std::string_view bytes);
    // Up to `capacity` bytes into `buffer`, waiting no longer than the read
    // timeouts allow: the count read (0 when nothing came), or -1 when the
    // read failed or the port is not open.
    int Read(char* buffer, size_t capacity);

private:
    SerialOpenResult SetUp(uint32_t baudRate, const SerialTimeouts& timeouts);

    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Opens the port as SerialPort::Open does and writes the log lines that
// every serial device of the program shares: "Trying to open com 3", or why
// it failed. Returns the SerialOpenStep as its number: 0 when the port is
// open and set up; 5 for port number 0, which no machine has.
int OpenSerialPortLogged(SerialPort& port, int number, uint32_t baudRate, const SerialTimeouts& timeouts);
