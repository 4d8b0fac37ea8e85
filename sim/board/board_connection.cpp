// Opening the driver, versions and the board's start-up word.
#include "board.h"

int Board::OpenDrv()
{
    if (!present_)
        return 0;
    if (openFailures_ != 0) {
        if (openFailures_ > 0)
            --openFailures_;
        return 0;
    }
    open_ = true;
    return 1;
}

int Board::CloseDrv()
{
    const bool wasOpen = open_;
    open_ = false;
    return wasOpen ? 1 : 0;
}

// The library knows its own version without a board.
int Board::GetDllVersion(uint8_t* b1, uint8_t* b2, uint8_t* b3, uint8_t* b4)
{
    PutBytes(versions_.dll, b1, b2, b3, b4);
    return 1;
}

int Board::ResetBoard(int board)
{
    if (!Ready(board))
        return 0;
    Reboot();
    return 1;
}

int Board::GetHardwareVersion(int board, uint32_t* version)
{
    if (!Ready(board))
        return 0;
    Put(version, versions_.hardware);
    return 1;
}

int Board::GetFirmwareVersion(int board, uint8_t* b1, uint8_t* b2, uint8_t* b3, uint8_t* b4)
{
    if (!Ready(board))
        return 0;
    PutBytes(versions_.firmware, b1, b2, b3, b4);
    return 1;
}

int Board::GetFpgaVersion(int board, uint32_t* version)
{
    if (!Ready(board))
        return 0;
    Put(version, versions_.fpga);
    return 1;
}

int Board::GetSerialNumber(int board, uint32_t* serial)
{
    if (!Ready(board))
        return 0;
    Put(serial, versions_.serial);
    return 1;
}

int Board::GetOeVersion(int board, uint8_t* version)
{
    if (!Ready(board))
        return 0;
    Put(version, versions_.oe);
    return 1;
}

int Board::GetBoardType(int board, uint32_t* type)
{
    // Firmware before 2.2.0.0 does not know which board it runs on.
    constexpr uint32_t kFirstFirmwareWithBoardType = 0x00020200;
    if (!Ready(board) || versions_.firmware < kFirstFirmwareWithBoardType)
        return 0;
    Put(type, versions_.boardType);
    return 1;
}

int Board::ReadStartupWord(int board, uint32_t* value)
{
    if (!Ready(board))
        return 0;
    Put(value, startupWord_);
    return 1;
}

int Board::SetStartupValue(int board, uint32_t value)
{
    if (!Ready(board))
        return 0;
    startupWord_ = value;
    return 1;
}
