#pragma once
// The objective turrets that can take the motor zoom's place ("ZoomType" 1
// to 4). Each kind has its own branch here; the kinds are not built yet, so
// each says so in the log and leaves the machine alone.
#include <cstdint>

// "ZoomType" values.
enum ZoomKind : int {
    kZoomMotor = 0,          // motor zoom on axis 4 with a home switch
    kZoomRevolver = 1,       // revolver turret through its vendor library
    kZoomOlympusBox = 2,     // Olympus box on a serial port
    kZoomOlympusPins = 3,    // Olympus turret on the board's I/O lines
    kZoomNikon = 4,          // Nikon turret through its vendor library
    kZoomMotorNoSwitch = 5,  // motor zoom homed by the board's home search
};

constexpr bool IsMotorZoom(int kind) { return kind == kZoomMotor || kind == kZoomMotorNoSwitch; }
constexpr bool IsTurret(int kind) { return kind >= kZoomRevolver && kind <= kZoomNikon; }

// Turns the turret of this kind to position n.
void TurretGoto(int kind, int8_t n);
