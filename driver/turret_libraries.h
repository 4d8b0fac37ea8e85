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
