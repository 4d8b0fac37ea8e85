#include "machine.h"

#include <cstddef>

namespace {

// A bench machine: X, Y and Z brushless servos on 1 µm scales, a stepper Q
// axis with an encoder, and a brushed DC zoom on a 0.5 µm encoder. The
// program forces P008, P010, P012 and P014 to 1 and P022 to 219 (when 0) at
// start-up; a new board holds 0 there so those writes are seen.
struct AxisParamRow {
    int xParam;
    std::array<int32_t, kAxisCount> value; // X, Y, Z, Q, Zoom
};

constexpr AxisParamRow kAxisParams[] = {
    {50, {120, 120, 150, 80, 60}},            // P gain
    {51, {600, 600, 700, 300, 200}},          // D gain
    {52, {8, 8, 10, 4, 2}},                   // I gain
    {53, {2000, 2000, 2000, 2000, 2000}},     // I limit
    {55, {20, 20, 20, 20, 40}},               // continuation zone, counts
    {58, {1000, 1000, 1000, 1000, 2000}},     // counts per mm
    {59, {500, 500, 500, 500, 500}},          // cutoff delay, ms
    {60, {5, 5, 5, 5, 10}},                   // target window, counts
    {61, {1000, 1000, 500, 500, 200}},        // velocity, 0.1 mm/s
    {62, {500, 500, 300, 300, 200}},          // acceleration, mm/s²
    {63, {5000, 5000, 3000, 3000, 2000}},     // jerk, mm/s³
    {64, {2, 2, 2, 3, 1}},                    // motor type
    {65, {50, 50, 50, 50, 50}},               // motion monitor, counts/s
    {66, {500, 500, 500, 500, 1000}},         // following error limit, counts
    {67, {3000, 3000, 3000, 2000, 1000}},     // current limit, mA
    {68, {1000000000, 1000000000, 1000000000, 1000000000, 1000000000}},      // fence +
    {69, {-1000000000, -1000000000, -1000000000, -1000000000, -1000000000}}, // fence -
    {74, {100, 100, 100, 100, 100}},          // P V (nominal)
    {77, {10, 10, 10, 10, 10}},               // torque / motor lag
    {78, {5, 5, 5, 5, 5}},                    // holding torque, %
    {79, {20000, 20000, 20000, 20000, 20000}}, // joystick velocity, µsteps/s
    {80, {20000, 20000, 20000, 20000, 20000}}, // trackball velocity, µsteps/s
    {81, {20, 20, 20, 20, 20}},               // acceleration, µsteps/s per cycle
    {82, {2000, 2000, 2000, 2000, 2000}},     // D limit
    {83, {10, 10, 10, 10, 10}},               // limit back-off, 0.1 mm
};

// The stepper block P260.. exists for X..Q only (the Zoom column is unused).
constexpr int kStepperBlockAxes = 4;
constexpr AxisParamRow kStepperParams[] = {
    {260, {100, 100, 100, 100, 0}},                             // running current, %
    {261, {1000000000, 1000000000, 1000000000, 1000000000, 0}}, // switchover frequency, Hz
    {264, {10, 10, 10, 10, 0}},                                 // holding current, %
    {266, {10, 10, 10, 10, 0}},                                 // init torque, 5 %
    {267, {500, 500, 500, 500, 0}},                             // init time, ms
};

struct ParamValue {
    int param;
    uint32_t value;
};

constexpr ParamValue kGlobalParams[] = {
    {1, 0x00010321},               // joystick: buttons speed, axis lock, Z track; linear curve
    {5, 0x0A000532}, {6, 0x0A000532}, {7, 0x0A000532}, // trackball X, Y, Z: coarse 50, fine 5, deadband 10
    {2, 0x00000A50}, {3, 0x00000A50}, {4, 0x00000A50}, // joystick rates: coarse 80 %, fine 10 %
    {15, 5000},                    // touch-probe retract velocity, 0.01 %
    {16, 0x0108}, {17, 0x0108}, {18, 0x0108}, {19, 0x0108}, // 1 Vpp differential, 20x
    {24, 100},                     // touch-probe debounce, 5 µs
    {26, 0x00320000}, {27, 0x00320000}, {28, 0x00320000}, {29, 0x00320000}, // LUX400 limits 50 %
    {30, 0x00320000}, {31, 0x00320000}, {32, 0x00320000},
    {35, 0}, {36, 512}, {37, 1023}, {38, 10}, // joystick X window, ADC counts
    {39, 0}, {40, 512}, {41, 1023}, {42, 10}, // Y
    {43, 0}, {44, 512}, {45, 1023}, {46, 10}, // Z
    {48, 100},                     // touch-probe retract distance, 0.01 mm
    {49, 1000},                    // servo cycles per second
    {204, 0x00000A50},             // Q joystick rate
    {206, 0}, {207, 512}, {208, 1023}, {209, 10}, // Q joystick window
    {235, 1000},                   // zoom percent, 0.01 %
};

struct TravelRow {
    int32_t min;
    int32_t max;
};

constexpr std::array<TravelRow, kAxisCount> kTravel = {{
    {-50000, 350000},  // X: 400 mm
    {-50000, 250000},  // Y: 300 mm
    {-150000, 50000},  // Z: 200 mm
    {-100000, 100000}, // Q: 200 mm
    {-4000, 100000},   // Zoom: 52 mm, the home switch at the lower end
}};

constexpr BoardVersions kVersions = {
    .firmware = 0x02060703,
    .hardware = 0x00000402,
    .fpga = 0x00002107,
    .serial = 123456,
    .dll = 0x04020011,
    .oe = 10,
    .boardType = 1,
};

template <std::size_t N>
void ApplyRows(const AxisParamRow (&rows)[N], int axes, MachineDescription& m)
{
    for (const AxisParamRow& row : rows)
        for (int a = 0; a < axes; ++a)
            m.params[AxisParam(row.xParam, a)] = static_cast<uint32_t>(row.value[a]);
}

} // namespace

MachineDescription FactoryMachine()
{
    MachineDescription m;
    m.versions = kVersions;
    ApplyRows(kAxisParams, kAxisCount, m);
    ApplyRows(kStepperParams, kStepperBlockAxes, m);
    for (const ParamValue& p : kGlobalParams)
        m.params[p.param] = p.value;
    m.flash.fill(kErasedFlashWord);
    for (int a = 0; a < kAxisCount; ++a) {
        m.axes[a].travelMin = kTravel[a].min;
        m.axes[a].travelMax = kTravel[a].max;
    }
    return m;
}
