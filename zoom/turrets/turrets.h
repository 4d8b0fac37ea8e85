#pragma once
// The objective turrets that can take the motor zoom's place ("ZoomType" 1
// to 4). Each kind lives in a file of its own behind one table of kinds: its
// goto (the turret branch of ZoomGoto, board lock held), its poll (the
// turret branch of ZoomTimer, "ZOOM_LOCK" held) and its set-up.
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

// Turns the turret of this kind towards position n.
void TurretGoto(int kind, int8_t n);
// Watches the move under way of this kind's turret.
void TurretPoll(int kind);

void ResetTurrets();
