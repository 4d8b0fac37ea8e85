#pragma once
// Everything that describes one simulated machine before it is switched on:
// the board's versions, its factory parameters and flash, the travel of each
// axis and any faults it comes with. The factory machine is the default; a
// machine-description file (AXBSIM_CONFIG) changes parts of it.
#include "scale.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

constexpr int kAxisCount = 5;
constexpr int kParamCount = 512;
constexpr int kAxisParamStride = 40;
constexpr int kFlashWordCount = 256;
constexpr uint32_t kErasedFlashWord = 0xFFFFFFFF;
// Firmware from this version on takes velocity percentages times 100 and
// stores P061 in tenths of mm/s.
constexpr uint32_t kFirstCentiPercentFirmware = 0x0002000B;

constexpr int AxisParam(int xParam, int axis) { return xParam + kAxisParamStride * axis; }
// As the description file and the trace name the axes.
constexpr const char* kAxisNames[kAxisCount] = {"X", "Y", "Z", "Q", "Zoom"};
constexpr int kZoomAxis = 4;

struct BoardVersions {
    uint32_t firmware = 0; // four bytes, first byte highest
    uint32_t hardware = 0;
    uint32_t fpga = 0;
    uint32_t serial = 0;
    uint32_t dll = 0; // four bytes, first byte highest
    uint8_t oe = 0;
    uint32_t boardType = 0;
};

struct AxisSetup {
    // Ends of travel in counts of the power-on position; the limit switches
    // sit there.
    int32_t travelMin = 0;
    int32_t travelMax = 0;
    int32_t powerOnPosition = 0;
    uint8_t errorByte = 0;
    uint16_t axisStatus = 0;
    int32_t extraLag = 0; // counts the motor trails beyond the servo's own lag
    // Limit switches at the ends of travel, or hard stops.
    bool limitSwitches = true;
    // Reference marks: at these counts, or generated from a coded layout
    // (its zero in the same counts).
    std::vector<int64_t> marks;
    std::optional<CodedLayout> codedScale;
    // The scale's reference-mark signal is inverted: the board sees its
    // marks only when its input is set to match (register 2 bit 11, or
    // P021 bit a + 4 for TTL encoders).
    bool markInverted = false;
    // The zoom's home switch reaches this far above its lower end of travel.
    int32_t homeSwitchWidth = 0;
    // A stuck axis does not move when commanded.
    bool stuck = false;
    // The move-status bits under the mask read as in `moveStatusBits`,
    // whatever the axis does (a fault of the board, or a path of the
    // program to try out).
    uint8_t moveStatusMask = 0;
    uint8_t moveStatusBits = 0;
    // X, Y, Z: the joystick's deflection on its ADC channel from the first
    // reading after power-on, through these readings joystickStepMs apart
    // (none: centred).
    std::vector<uint16_t> joystickAdc;
    uint32_t joystickStepMs = 1000;
};

struct MachineDescription {
    bool boardPresent = true;
    int openFailures = 0; // first AXB_OpenDrv calls that fail; < 0: all of them
    BoardVersions versions;
    std::array<uint32_t, kParamCount> params{};
    std::array<uint32_t, kFlashWordCount> flash{};
    std::array<AxisSetup, kAxisCount> axes{};
    uint32_t systemStatus = 0;
    uint8_t probeStatus = 0; // after every start of the board
    uint32_t probeHitEveryMs = 0; // the probe touches at every multiple of this board time; 0 never
    bool gpioLoopBack = false; // a loop-back plug on the GPIO pins
    uint8_t gpioInputs = 0;    // the GPIO levels from outside
    bool fiveButtonJoystick = false;
    bool turret = false;       // an Olympus turret on the GPIO pins
    uint32_t turretTurnMs = 200;
    uint8_t turretPosition = 1;
};

// The machine every new simulated board is: see README.md for the values.
MachineDescription FactoryMachine();

// A board's velocity parameter P061 is in tenths of mm/s from
// kFirstCentiPercentFirmware on, in mm/s before.
constexpr bool UsesCentiPercent(uint32_t firmware) { return firmware >= kFirstCentiPercentFirmware; }
