#pragma once
// The turret vendors' libraries as the program calls them, loaded at run
// time by name. One calling convention for both: __stdcall on 32-bit
// Windows (64-bit Windows has only one).
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define TURRETAPI __stdcall
#else
#define TURRETAPI
#endif

// "ObjTurret.dll": KrvCmd(command, argument), non-zero on success. The
// argument is pointer-sized: an integer for some commands, for command 4 the
// address of a 64-bit value.
using KrvCmdFunction = uint8_t(TURRETAPI*)(int32_t command, intptr_t argument);
inline constexpr int32_t kKrvInit = 1;             // argument 2
inline constexpr intptr_t kKrvInitArgument = 2;
inline constexpr int32_t kKrvStep = 3;             // argument 1 forward, 0 back
inline constexpr int32_t kKrvPosition = 4;         // argument: uint64_t*, 0 while moving

// "Revolver_Dll.dll": nine exports by name, every one required.
using RevolverGetDllVersion = const char*(TURRETAPI*)();
using RevolverGetFwVersion = int32_t(TURRETAPI*)(char* text128);   // negative: failed
using RevolverInitComm = int32_t(TURRETAPI*)(int32_t port, int32_t baudRate);   // 0: found
using RevolverCloseComm = void(TURRETAPI*)();
// 0 ok, -1 timeout, -2 checksum error.
using RevolverGetState = int32_t(TURRETAPI*)(uint8_t* o1, uint8_t* o2, uint8_t* o3, uint8_t* o4, uint8_t* o5,
                                             uint8_t* o6, uint8_t* o7, uint8_t* o8, uint8_t* o9, uint8_t* o10);
using RevolverGoToPosition = void(TURRETAPI*)(int32_t position);
// "SetTimeOutRxCommand", "GetParameters" and "Zephon" must exist; the
// program never calls them.
inline constexpr int32_t kRevolverBaudRate = 115200;
inline constexpr size_t kRevolverTextSize = 128;
