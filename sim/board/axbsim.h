#pragma once
// Control interface of the simulated board (AXB400.dll built from sim/board),
// exported by name beside the driver operations. Tests and tools use it to
// set the machine up, drive time and look at what the program did; none of
// these calls appears in the call log.
//
// Axes are 0..4 (X, Y, Z, Q, Zoom). Positions are counts as the axis's
// counter shows them (AXB_GetAxisPosValue). Calls with an axis, parameter
// or word index out of range do nothing.
#include <cstddef>
#include <cstdint>

extern "C" {

// --- Machine and files -----------------------------------------------------
// A new board: the machine description (factory machine unless a
// description file is set), blank flash (the state file is deleted), the
// driver closed, no faults beyond the description's, an empty call log.
// The clock is left as it is.
void AxbSim_Reset(void);
// As if the program were restarted with the board switched off and on:
// the machine description again, parameters saved to flash and committed
// flash words from the state file; unsaved parameters, uncommitted words,
// positions (back to the power-on place, counters at 0), velocities and
// injected faults are gone, and the driver is closed. The call log is kept.
void AxbSim_PowerCycle(void);
// The machine-description (INI) file used from the next Reset or
// PowerCycle on; null or "" goes back to AXBSIM_CONFIG. Returns 1 when the
// file can be read and describes a machine, 0 when it would be refused (the
// board then runs the factory machine and reports why).
int AxbSim_SetConfigFile(const wchar_t* path);
// Where the flash is kept from now on; null or "" goes back to
// AXBSIM_STATE, or AXB400.state beside the DLL.
void AxbSim_SetStateFile(const wchar_t* path);
// Appends every call to this file from now on; null or "" goes back to
// AXBSIM_TRACE (no trace when that is unset). Returns 0 when the file
// cannot be opened.
int AxbSim_SetTraceFile(const wchar_t* path);

// --- Time ------------------------------------------------------------------
// Real time (the performance counter) by default. Virtual time stands still
// until set or advanced; switching in either direction continues from the
// current time. SetTimeMs and AdvanceTimeMs switch to virtual time.
void AxbSim_UseVirtualTime(int on);
void AxbSim_SetTimeMs(uint64_t ms);
void AxbSim_AdvanceTimeMs(uint32_t ms);
uint64_t AxbSim_GetTimeMs(void);

// --- Connection and versions -----------------------------------------------
// The next n AXB_OpenDrv calls fail; n < 0: every call fails (no board).
void AxbSim_SetOpenFailures(int n);
int AxbSim_IsDriverOpen(void);
// Four-byte versions as one number, first byte highest (2.6.7.3 is
// 0x02060703). The firmware version also decides how velocity percentages
// and P061 are read: see README.md.
void AxbSim_SetFirmwareVersion(uint32_t version);
void AxbSim_SetHardwareVersion(uint32_t version);
void AxbSim_SetFpgaVersion(uint32_t version);
void AxbSim_SetSerialNumber(uint32_t serial);
void AxbSim_SetDllVersion(uint32_t version);
void AxbSim_SetOeVersion(uint8_t version);
void AxbSim_SetBoardType(uint32_t type);

// --- Parameters and flash ----------------------------------------------------
// The board's working (RAM) value of Pnnn; 0 for a number out of range.
uint32_t AxbSim_PeekParam(int number);
// Changes the RAM value only: AXB_SaveParamsToFlash makes it permanent.
void AxbSim_PokeParam(int number, uint32_t value);
// A refusing board: AXB_SetParam of Pnnn succeeds but the value stays.
void AxbSim_SetParamRefused(int number, int refused);
// The flash user word as AXB_ReadFlashWord would read it now.
uint32_t AxbSim_PeekFlashWord(int index);
// As if written and committed: survives a power cycle.
void AxbSim_PokeFlashWord(int index, uint32_t word);

// --- Faults ------------------------------------------------------------------
// The values AXB_GetSystemStatus, AXB_GetMoveStatus (error byte) and
// AXB_GetAxisStatus report until the program clears them
// (AXB_ResetAxisError clears the error byte, AXB_ClearEncoderErrors bits 3
// and 4 of the axis status, AXB_ClearLatchStatus bit 5). Motion is not
// affected.
void AxbSim_SetSystemStatus(uint32_t bits);
void AxbSim_SetErrorByte(int axis, uint8_t bits);
void AxbSim_SetAxisStatus(int axis, uint16_t bits);
// Raises error bits (ORed into the error byte) as the board does when it
// detects a fault: the axis brakes to a stop. sticky = 0: the bits go with
// the next motion command to the axis (AXB_SetAxisPosAbs, AXB_SetAxisPosLin
// for X..Q, AXB_SetAxisPosCircle for X..Z, AXB_SeekHome), so a retry
// succeeds; sticky != 0: they stay until AXB_ResetAxisError. Either kind
// goes with AXB_ResetAxisError, a board reset and a power cycle.
void AxbSim_InjectErrorByte(int axis, uint8_t bits, int sticky);
// The motor trails `counts` (signed) further behind the nominal position
// than the servo would: AXB_GetFollowingError, the positions and the axis
// record show it, but the board's following-error stop (P066) does not see
// it and the error byte stays clear. 0 ends it. Kept over AXB_ResetBoard.
void AxbSim_SetExtraLag(int axis, int32_t counts);
// The bits of the axis's move-status byte under `mask` read as in `bits`
// (AXB_GetMoveStatus, and the flags of AXB_GetAxisRecord), the others as
// the board works them out, whatever the axis does; it moves as before.
// Mask 0 ends it. Replaces what the description forces (MoveStatus); kept
// over AXB_ResetBoard, Reset and PowerCycle go back to the description's.
void AxbSim_ForceMoveStatus(int axis, uint8_t mask, uint8_t bits);

// --- Axes --------------------------------------------------------------------
// Puts the axis at rest at `count`, within its travel.
void AxbSim_PlaceAxis(int axis, int32_t count);
// Moves the limit switches to these counts; they stay with the machine
// when the counter is cleared later. The axis stops where it is.
void AxbSim_SetTravel(int axis, int32_t minCount, int32_t maxCount);
// The encoder count the axis shows now.
int32_t AxbSim_PeekPosition(int axis);

// --- Ends of travel and reference marks ----------------------------------------
// Limit switches at both ends of travel (present != 0, the factory machine)
// or hard stops (0): against a hard stop the motor stalls while the nominal
// position runs on, until the lag passes the axis's following-error limit
// P066: then the board stops the axis with error bit 1 (cleared by the next
// motion command), or, in a home search (AXB_SeekHome) against the lower
// stop, takes the stop as home (move-status bit 1, counter 0 there, no
// error). With P066 = 0 the motor pushes against the stop: the move ends
// where the nominal position stops and the lag stays. Without switches
// move-status bits 6 and 7 stay clear. The axis stops where it is.
void AxbSim_SetLimitSwitches(int axis, int present);
// Reference marks on the axis's scale at these counts (as the counter shows
// them now; they stay with the machine when the counter is cleared later),
// replacing any marks or coded scale it had; n = 0 removes them. Returns 0
// (nothing changed) for an axis out of range, n < 0 or no array.
int AxbSim_SetMarks(int axis, const int32_t* counts, int n);
// A distance-coded scale (layout in README.md and scale.h): fixed marks every
// `incrementLines` pitch lines of `countsPerLine` counts from its zero at
// `zeroCount` (counts now), a coded mark after each, placed by the Acu-Rite
// or the standard convention of the program's distance-coded calculation;
// reversed != 0: the scale's positions run against the counts. Returns 0
// and keeps the old marks when the program could not decode such a scale
// (countsPerLine < 2, fewer than 3 lines, an odd increment in the standard
// convention).
enum { AXBSIM_CODING_STANDARD = 0, AXBSIM_CODING_ACURITE = 1 };
int AxbSim_SetDistanceCodedScale(int axis, int coding, int32_t incrementLines, int32_t countsPerLine,
                                 int32_t zeroCount, int reversed);
// The marks within the travel as counts now, ascending: copies up to
// `capacity` of them and returns how many there are (-1 for a bad axis).
int AxbSim_GetMarks(int axis, int32_t* counts, int capacity);
// The scale's reference signal is inverted (inverted != 0): latch 2 sees
// its marks only while the board's input is set to match, register 2 bit 11
// (AXB_SetAxisReg) for analog encoders, P021 bit a + 4 for TTL ones (signal
// type 6..8 in bits 8..15 of P016 + a). Power-on: as the description says.
void AxbSim_SetMarkInverted(int axis, int inverted);

// --- Zoom home switch and stuck axes --------------------------------------------
// The zoom's home switch sits at its lower end of travel and is active from
// there up to `counts` above it (0, the factory machine: only at the end):
// move-status bit 7 of the zoom while it is on it. AXB_SeekHome ends where
// the zoom reaches the switch coming down (at once when it is already on
// it): move-status bit 1 until the next command, the counter 0 there. Other
// moves stop only at the end of travel. A zoom with hard stops instead of
// limit switches (AxbSim_SetLimitSwitches(4, 0)) has no home switch: its
// home search ends against the lower stop.
void AxbSim_SetZoomHomeSwitchWidth(int32_t counts);
// A stuck axis (stuck != 0) does not move: it stops where it is, and a
// command (AXB_SetAxisPosAbs, AXB_SeekHome, AXB_SetAxisPosLin,
// AXB_SetAxisPosCircle) leaves it standing with its move never ending
// (move-status bit 0 clear) until AXB_StopAxis or until it is freed; freed,
// it carries on with the move or home search it was given (a circle just
// ends). Kept over AXB_ResetBoard.
void AxbSim_SetAxisStuck(int axis, int stuck);

// --- Peripherals -------------------------------------------------------------
// The value AXB_GetProbeStatus reports (value 2 deflected, value 4 still
// retracting) until the next reset of the board, which goes back to the
// description's ProbeStatus (0 unless it says otherwise).
void AxbSim_SetProbeStatus(uint8_t status);
// The probe touches the workpiece now (a description's ProbeHitEveryMs does
// it on its own): with the probe on (AXB_SetTouchProbe without bit 0) and
// no hit held, latch 2 of every axis X..Q in mode 6 takes its actual count
// (first values) and nominal count (second values), flag 1, the latch
// status has value 4 until AXB_RearmTouchProbe, and the probe status reads
// 2 | 4 (deflected, retracting) while the probe retracts P048 at P015 of X's
// P061, or 2 | 8 (retract error) until the re-arm when that speed is 0.
// Returns 1 for a hit latched, 0 for one missed.
int AxbSim_TouchProbe(void);
// A five-button joystick instead of the three-button one: bit 7 of the third
// output of AXB_GetJoyStickMode and AXB_GetJoystickButtons.
void AxbSim_SetFiveButtonJoystick(int on);
// The joystick's buttons and functions as AXB_GetJoyStickMode and
// AXB_GetJoystickButtons report them until the board restarts: `buttons` in
// bits 0..6 of the state (bits 0..4 buttons 1..5 of a five-button stick; a
// three-button one shows buttons 1..3 in bits 0..2 and their software
// functions in bits 3..5), `functions` the active functions (bit 0 speed,
// bit 2 axis lock, bit 4 Z track). Power-on: nothing held, nothing active.
void AxbSim_SetJoystickState(uint8_t buttons, uint8_t functions);
// A loop-back plug on the eight GPIO pins (plugged != 0): AXB_GetGpio reads
// each output pin (its bit set in the direction mask of AXB_SetGpio) at the
// level it drives. Without the plug every pin reads the level from outside.
// Power-on: as the description's GpioLoopBack says (none unless it does).
void AxbSim_SetGpioLoopBack(int plugged);
// The levels from outside on the pins the plug does not loop back (bit n =
// pin n + 1 high). Power-on: the description's GpioInputs, else 0.
void AxbSim_SetGpioInputs(uint8_t levels);
// The software-function states AXB_GetGpio reports (bit n = pin n + 1
// pressed), as the board's own debouncing sees the pins. Power-on: none.
void AxbSim_SetGpioFunctionStates(uint8_t states);
// Joystick axis 0..2 (X, Y, Z on ADC channels 3..5) from now on reads the
// `count` readings in turn, `stepMs` from one to the next and straight in
// between, and then stays at the last: {40, 1000, 512} is a sweep from one
// end to the other and back to the centre, a single reading a stick held
// there. No readings: centred (512).
void AxbSim_SetJoystickAdc(int axis, const uint16_t* readings, int count, uint32_t stepMs);
// An Olympus turret on the GPIO pins (fitted != 0): pins 2..4 (bits 0x1C)
// carry the code of its position 1..5 (0x0C, 0x14, 0x04, 0x18, 0x08), and
// 0x1C for turnMs after a falling edge of the driven level on the step pin
// 0x40 (one position on, 5 to 1) or 0x80 (one back); edges while it turns
// are lost. Power-on: the description's Turret, TurretTurnMs (200) and
// TurretPosition (1).
void AxbSim_SetTurret(int fitted, uint32_t turnMs, int position);

// --- Encoder faults, flash health, supplies and currents ----------------------
// The encoder interface of the axis latches a signal error (axis status bit
// 3) and/or a frequency error (bit 4) until AXB_ClearEncoderErrors; other
// bits of the axis status word are kept.
void AxbSim_InjectEncoderErrors(int axis, int signalError, int frequencyError);
// What AXB_GetFlashStatus reports for item 0..255 (0 on a healthy flash).
// Items 240..243 are the parameter, user, system and IC-MQ areas, 244..247
// their backup copies; while one of them is nonzero, bit 8..15 of the system
// status is set with it. Cleared by Reset and PowerCycle.
void AxbSim_SetFlashStatus(int item, uint32_t value);
// The supplies, numbered as below, in the units of their driver operation:
// AXB_GetSupplyVoltage and AXB_GetInterpolatorVoltage in 0.1 V,
// AXB_GetEncoderVoltage in 0.01 V. Each reading is `nominal` plus a ripple
// of up to `noise` either way (0: a steady reading). Power-on: 241 +-1,
// 50 +-1 and 505 +-2; kept over AXB_ResetBoard, restored by Reset and
// PowerCycle.
enum { AXBSIM_POWER_SUPPLY = 0, AXBSIM_INTERPOLATOR_SUPPLY = 1, AXBSIM_ENCODER_SUPPLY = 2 };
void AxbSim_SetSupplyVoltage(int supply, uint16_t nominal, uint16_t noise);
// AXB_GetMotorCurrent of the axis reads `current` (0.01 mA) until the board
// restarts; a negative value goes back to the current its motion draws
// (the holding current at rest, more while it accelerates and runs).
void AxbSim_SetMotorCurrent(int axis, int32_t current);

// --- Call log ----------------------------------------------------------------
// Every driver call since the last clear, one line each, e.g.
//   AXB_SetParam(0,22,219)=1
//   AXB_GetMoveStatus(0,4,&5,&0)=1
// (format in README.md).
void AxbSim_ClearCallLog(void);
int AxbSim_GetCallCount(void);
// Copies the lines, each ending in '\n', NUL-terminated and cut to fit;
// returns the length of the whole text (without the NUL), so a caller can
// ask with size 0 first.
size_t AxbSim_GetCallLog(char* buffer, size_t size);

} // extern "C"
