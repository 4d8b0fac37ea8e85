#include "board/board_versions.h"

#include "driver/axb400.h"

namespace {

VersionBytes ReadFirmwareBytes()
{
    VersionBytes bytes{};
    AXB_GetFirmwareVersion(0, &bytes.b1, &bytes.b2, &bytes.b3, &bytes.b4);
    return bytes;
}

} // namespace

BoardVersions ReadBoardVersions()
{
    BoardVersions v;
    v.firmware = ReadFirmwareBytes();
    AXB_GetHardwareVersion(0, &v.hardware);
    AXB_GetFpgaVersion(0, &v.fpga);
    AXB_GetSerialNumber(0, &v.serialNumber);
    AXB_GetDllVersion(&v.dll.b1, &v.dll.b2, &v.dll.b3, &v.dll.b4);
    return v;
}

uint32_t ReadFirmwareVersion() { return FirmwareNumber(ReadFirmwareBytes()); }

uint8_t ReadOeVersion()
{
    uint8_t oe = 0;
    AXB_GetOeVersion(0, &oe);
    return oe;
}
