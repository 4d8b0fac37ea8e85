#pragma once
// The simulated AXB board behind the driver library: parameters, flash,
// five axes, status words and peripherals. Every driver operation has a
// method of the same name and arguments; it answers 0 when the driver is not
// open, the board index is not 0 or an index is out of range, and writes
// its out-parameters only when it answers 1 (null pointers are skipped).
// The methods of the second half serve the test and control interface.
#include "axis.h"
#include "scale.h"
#include "flash_state.h"
#include "machine.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class Board {
public:
    // Called with the new flash contents whenever parameters are saved or
    // flash words committed.
    using PersistFlash = std::function<void(const FlashState&)>;
    // Called with a line for the trace when the board does something on its
    // own (stops an axis on a following error, latches a reference mark),
    // with the time it happened.
    using Notify = std::function<void(const std::string&, uint64_t atUs)>;
    Board(PersistFlash persist, Notify notify) : persist_(std::move(persist)), notify_(std::move(notify)) {}

    // Switches the board on: a new board when `flash` is empty (its flash
    // holds the description's parameters and user words), otherwise one
    // whose flash survived from an earlier run. The driver is closed.
    void PowerOn(const MachineDescription& machine, const std::optional<FlashState>& flash);
    // Brings the board's clock to `nowUs` before a call.
    void Update(uint64_t nowUs);

    // Connection and versions
    int OpenDrv();
    int CloseDrv();
    int GetDllVersion(uint8_t* b1, uint8_t* b2, uint8_t* b3, uint8_t* b4);
    int ResetBoard(int board);
    int GetHardwareVersion(int board, uint32_t* version);
    int GetFirmwareVersion(int board, uint8_t* b1, uint8_t* b2, uint8_t* b3, uint8_t* b4);
    int GetFpgaVersion(int board, uint32_t* version);
    int GetSerialNumber(int board, uint32_t* serial);
    int GetOeVersion(int board, uint8_t* version);
    int GetBoardType(int board, uint32_t* type);
    int ReadStartupWord(int board, uint32_t* value);
    int SetStartupValue(int board, uint32_t value);

    // Parameters and flash
    int GetParam(int board, int number, uint32_t* value);
    int SetParam(int board, int number, uint32_t value);
    int SaveParamsToFlash(int board);
    int ReadFlashWord(int board, int index, uint32_t* word);
    int WriteFlashWord(int board, int index, uint32_t word);
    int CommitFlashWords(int board);
    int GetFlashStatus(int board, int item, uint32_t* value);

    // Position and status
    int GetAxisPosValue(int board, int axis, int32_t* position);
    int GetLatchReg(int board, int axis, int latch, int32_t* count);
    int GetFollowingError(int board, int axis, int32_t* lag);
    int GetMoveStatus(int board, int axis, uint8_t* moveStatus, uint8_t* errorByte);
    int GetAxisStatus(int board, int axis, uint16_t* status);
    int GetSystemStatus(int board, uint32_t* status);
    int ReadStatusWord(int board, uint32_t* word);
    int GetAxisRecord(int board, int axis, int32_t* record);
    int GetMotorCurrent(int board, int axis, uint32_t* current);
    int GetEncoderVoltage(int board, uint16_t* voltage);
    int GetSupplyVoltage(int board, uint16_t* voltage);
    int GetInterpolatorVoltage(int board, uint16_t* voltage);
    int ResetAxisError(int board, int axis, int code);
    int ClearEncoderErrors(int board, uint8_t axisMask);
    int ClearCount(int board, uint8_t axisMask);

    // Motion
    int SetAxisPosAbs(int board, int axis, int32_t target);
    int SetAxisPosLin(int board, int32_t x, int32_t y, int32_t z, int32_t q, uint16_t velocity);
    int SetAxisPosCircle(int board, int32_t radius, double startDeg, double sweepDeg, int32_t feed, uint16_t velocity,
                         double pitchDeg, double yawDeg);
    int SeekHome(int board, int axis);
    int StopAxis(int board, int axis);
    int SetVelocityPercent(int board, int axis, uint16_t velocity);

    // Latches and axis registers
    int SetLatchMode(int board, int axis, int latch, int mode);
    int GetLatchMode(int board, int axis, int latch, int32_t* mode);
    int ClearLatchStatus(int board, uint8_t axisMask);
    int SetAxisReg(int board, int axis, int reg, uint16_t value);
    int GetAxisReg(int board, int axis, int reg, uint16_t* value);

    // I/O and peripherals
    int SetExternIO(int board, uint8_t outputs, uint8_t lampMask);
    int SetGpio(int board, uint8_t directionMask, uint8_t levels);
    int GetGpio(int board, uint8_t* levels, uint8_t* functionStates);
    int SetLampLevel(int board, int channel, uint16_t level);
    int ReadAdc(int board, int channel, uint16_t* value);
    int GetJoystickVelocity(int board, int axis, int8_t* percent);
    int GetJoystickAxis(int board, int axis, uint8_t* a, uint8_t* b, uint8_t* c);
    int SetJoystickAxis(int board, int axis, uint8_t a, uint8_t b, uint8_t c);
    int GetJoystickButtons(int board, uint32_t* mode, uint8_t* functions, uint8_t* state);
    int GetJoyStickMode(int board, uint32_t* mode, uint8_t* functions, uint8_t* state);
    int SetTouchProbe(int board, uint8_t flags);
    int SetProbeOption(int board, int option, int value);
    int GetProbeStatus(int board, uint8_t* status);
    int RearmTouchProbe(int board);
    int GetTouchProbeLatchStatus(int board, uint8_t* status);
    int GetTouchProbeLatch(int board, int latch, int32_t* first, uint16_t* flags, int32_t* second, uint8_t* status);

    // Control interface: no driver checks, nothing logged.
    BoardVersions& Versions() { return versions_; }
    void SetOpenFailures(int n) { openFailures_ = n; }
    bool IsOpen() const { return open_; }
    std::optional<uint32_t> PeekParam(int number) const;
    void PokeParam(int number, uint32_t value);
    void SetParamRefused(int number, bool refused);
    std::optional<uint32_t> PeekFlashWord(int index) const;
    // As if the word had been written and committed.
    void PokeFlashWord(int index, uint32_t word);
    void SetSystemStatus(uint32_t bits) { systemStatus_ = bits; }
    // The whole error byte, held until AXB_ResetAxisError.
    void SetErrorByte(int axis, uint8_t bits);
    // Raises error bits as the board does: the axis brakes to a stop. Sticky
    // bits stay until AXB_ResetAxisError, the others also go with the next
    // motion command to the axis.
    void InjectErrorByte(int axis, uint8_t bits, bool sticky);
    // The motor trails by `counts` more (signed; 0 ends it).
    void SetExtraLag(int axis, int32_t counts);
    // Limit switches at the ends of travel (true) or hard stops.
    void SetLimitSwitches(int axis, bool present);
    // Reference marks, in counts as the counter shows them now; they stay
    // with the machine when the counter is cleared later. False when the
    // axis or the layout is refused.
    bool SetMarks(int axis, const std::vector<int32_t>& counts);
    bool SetCodedScale(int axis, bool acuRite, int32_t incrementLines, int32_t countsPerLine, int32_t zeroCount,
                       bool reversed);
    // The marks within the travel, as counts now, ascending.
    std::vector<int32_t> Marks(int axis) const;
    void SetMarkInverted(int axis, bool inverted);
    // The zoom's home switch: from its lower end of travel up this far.
    void SetZoomHomeSwitchWidth(int32_t counts);
    // A stuck axis leaves its commanded moves unfinished until it is freed.
    void SetAxisStuck(int axis, bool stuck);
    void SetAxisStatus(int axis, uint16_t bits);
    void PlaceAxis(int axis, int32_t count);
    void SetTravel(int axis, int32_t minCount, int32_t maxCount);
    std::optional<int32_t> PeekPosition(int axis) const;
    void SetProbeStatus(uint8_t status) { probeStatus_ = status; }
    // The probe touches now; false when the hit was missed (probe off, or a
    // hit still latched).
    bool TouchProbe();
    // The move-status bits under `mask` read as in `bits` (mask 0: none).
    void ForceMoveStatus(int axis, uint8_t mask, uint8_t bits);
    void SetFiveButtonJoystick(bool on) { fiveButtonJoystick_ = on; }
    // The joystick buttons held (state bits 0..6) and the functions active.
    void SetJoystickState(uint8_t buttons, uint8_t functions)
    {
        joystickButtons_ = buttons;
        joystickFunctions_ = functions;
    }
    // A loop-back plug on the GPIO pins: an output pin reads its own driven
    // level. Without it every pin reads the level from outside.
    void SetGpioLoopBack(bool plugged) { gpioLoopBack_ = plugged; }
    // The levels from outside, on the pins the plug does not loop back.
    void SetGpioInputs(uint8_t levels) { gpioInputs_ = levels; }
    // The software-function states of the pins (a pin pressed: its bit set).
    void SetGpioFunctionStates(uint8_t states) { gpioFunctionStates_ = states; }
    // The deflection of joystick axis 0..2 (ADC channel 3 + axis) from now
    // on: through the readings in turn, stepMs from one to the next and
    // straight in between, then held at the last; no readings: centred.
    void SetJoystickAdc(int axis, std::vector<uint16_t> readings, uint32_t stepMs);
    // An Olympus turret on the GPIO pins (or none): its position 1..5 and how
    // long one step takes it.
    void SetTurret(bool fitted, uint32_t turnMs, int position);

    enum Supply { kPowerSupply, kInterpolatorSupply, kEncoderSupply, kSupplyCount };
    // A supply as its driver operation reports it (0.1 V, 0.1 V, 0.01 V),
    // each reading off by up to `noise` either way.
    void SetSupplyVoltage(int supply, uint16_t nominal, uint16_t noise);
    // A fixed reading of the axis's motor current until the board restarts;
    // none: the current its motion draws.
    void SetMotorCurrent(int axis, std::optional<uint32_t> current);
    void InjectEncoderErrors(int axis, bool signal, bool frequency);
    void SetFlashStatus(int item, uint32_t value);

private:
    struct AxisIo {
        double velocityPercent = 100; // as the firmware read the last AXB_SetVelocityPercent
        uint8_t stickyErrors = 0;    // until AXB_ResetAxisError
        uint8_t transientErrors = 0; // also cleared by the next motion command
        uint8_t ErrorByte() const { return stickyErrors | transientErrors; }
        uint16_t axisStatus = 0;
        std::array<int32_t, 4> latchMode{};
        int32_t referenceLatch = 0; // latch 2
        uint64_t scannedUs = 0;     // reference marks are looked for from here on
        std::array<uint16_t, 8> registers{};
        std::array<uint8_t, 3> joystick{};
        std::optional<uint32_t> motorCurrent; // fixed by the control interface
    };
    struct SupplyReading {
        uint16_t nominal;
        uint16_t noise;
    };
    static constexpr int kFlashStatusItems = 256;
    // Latch 2 holds the reference mark; axis status bit 5 says it caught one.
    static constexpr int kReferenceLatch = 2;
    static constexpr uint16_t kReferenceCaptured = 0x0020;

    template <typename T, typename V>
    static void Put(T* out, V value)
    {
        if (out)
            *out = static_cast<T>(value);
    }
    static void PutBytes(uint32_t value, uint8_t* b1, uint8_t* b2, uint8_t* b3, uint8_t* b4);

    bool Ready(int board) const { return open_ && board == 0; }
    bool ValidAxis(int board, int axis) const { return Ready(board) && axis >= 0 && axis < kAxisCount; }
    void Reboot();
    void Persist();

    // Axis quantities at the board's current time.
    uint32_t Param(int number) const { return params_[number]; }
    // A signed per-axis parameter of the axis (a gain, an offset).
    double AxisValue(int xParam, int axis) const { return static_cast<int32_t>(Param(AxisParam(xParam, axis))); }
    int MotorType(int axis) const { return static_cast<int>(Param(AxisParam(64, axis)) & 7); }
    bool HasEncoder(int axis) const;
    double NominalPosition(int axis) const;
    double ActualPosition(int axis) const;
    double Lag(int axis) const { return NominalPosition(axis) - ActualPosition(axis); }
    int32_t NominalCount(int axis) const;
    int32_t ActualCount(int axis) const;
    uint8_t MoveStatus(int axis) const;
    // The system status word with the flash error bits of the flash status.
    uint32_t SystemStatus() const;
    uint32_t DrawnCurrent(int axis) const; // 0.01 mA
    uint16_t ReadSupply(Supply supply);
    void PowerOnSupplies();
    void PowerOnGpio();
    void PowerOnTurret();
    // The turret sees the levels driven on the pins that stay outputs; it
    // turns one position on a falling edge while it stands still.
    void TurretSeesOutputs(uint8_t before, uint8_t after);
    // The levels from outside with the turret's position lines in.
    uint8_t TurretInputs(uint8_t outside);

    // Motion limits from the axis parameters and the velocity percent.
    double Percent(uint16_t velocity) const;
    double MaxVelocity(int axis) const; // counts/s at 100 %
    double Speed(int axis, double percent) const;
    double Acceleration(int axis) const;
    // Everything a command needs to move the axis at `percent`: speed,
    // acceleration and the following-error limit P066 (none without an
    // encoder, which could not see the lag).
    Axis::Drive Drive(int axis, double percent) const;
    // A motion command reaches the axis: the errors it clears go.
    void Commanded(int axis) { io_[axis].transientErrors = 0; }
    void Note(const std::string& text, uint64_t atUs) const;
    void AxisEvents(int axis);
    // Reference marks: latch 2 in mode 7 takes the first mark the encoder
    // reaches after it was armed or its flag (axis status bit 5) cleared.
    void ScanReferenceMarks(int axis);
    bool SeesMarks(int axis) const;
    void RefreshMarks(int axis);
    struct FenceWindow {
        int32_t minus;
        int32_t plus;
        bool Valid() const { return minus <= plus; }
    };
    FenceWindow Fences(int axis) const; // P069/P068 + 40 a
    double FencedTarget(int axis, int32_t target) const;
    bool PathWithinTravel(const CirclePath& path) const;

    PersistFlash persist_;
    Notify notify_;
    MachineDescription machine_;
    FlashState flash_;
    std::array<uint32_t, kParamCount> params_{};
    std::array<bool, kParamCount> refusedParams_{};
    std::array<uint32_t, kFlashWordCount> words_{};
    BoardVersions versions_;
    bool present_ = true;
    int openFailures_ = 0;
    bool open_ = false;
    uint64_t nowUs_ = 0;

    std::array<Axis, kAxisCount> axes_;
    std::array<Scale, kAxisCount> scales_;
    std::array<std::vector<int64_t>, kAxisCount> marks_; // within the travel, machine counts
    std::array<bool, kAxisCount> markInverted_{};
    std::array<AxisIo, kAxisCount> io_;
    struct ForcedBits {
        uint8_t mask = 0;
        uint8_t bits = 0;
    };
    std::array<ForcedBits, kAxisCount> forcedMoveStatus_{};
    uint32_t systemStatus_ = 0;
    uint32_t startupWord_ = 0;
    uint8_t externOutputs_ = 0;
    uint8_t lampMask_ = 0;
    std::array<uint16_t, 10> lampLevels_{};
    uint8_t gpioDirection_ = 0;
    uint8_t gpioLevels_ = 0;
    bool gpioLoopBack_ = false;
    uint8_t gpioInputs_ = 0;
    uint8_t gpioFunctionStates_ = 0;
    bool turretFitted_ = false;
    int turretPosition_ = 1;
    uint64_t turretTurnUs_ = 0;
    uint64_t turretTurnedAtUs_ = 0;   // the step under way ends here
    int turretStep_ = 0;              // +1, -1 while turning, else 0
    uint8_t probeFlags_ = 1; // probe off
    std::array<int, 2> probeOption_{};
    uint8_t probeStatus_ = 0;
    // The probe's latch and retract (board_probe.cpp).
    struct ProbeLatch {
        uint8_t status = 0; // value 4: a hit is held
        std::array<int32_t, 4> first{};
        std::array<uint16_t, 4> flags{};
        std::array<int32_t, 4> second{};
    };
    ProbeLatch probeLatch_;
    uint64_t probeRetractEndUs_ = 0;
    bool probeRetractError_ = false;
    uint64_t probeScannedUs_ = 0;
    bool LatchProbeHit(uint64_t atUs);
    void ScanProbeHits();
    uint8_t ProbeStatus() const;
    bool fiveButtonJoystick_ = false;
    uint8_t joystickButtons_ = 0;
    uint8_t joystickFunctions_ = 0;
    struct JoystickScript {
        std::vector<uint16_t> readings;
        uint32_t stepMs = 0;
        uint64_t startUs = 0;
    };
    std::array<JoystickScript, 3> joystickAdc_{};
    static constexpr uint64_t kScriptNotStarted = UINT64_MAX;
    void StartJoystickScripts();
    uint16_t JoystickReading(int axis) const;
    int8_t JoystickVelocity(int axis) const;
    void PowerOnJoystick();
    std::array<SupplyReading, kSupplyCount> supplies_{};
    uint32_t noiseState_ = 1;
    std::array<uint32_t, kFlashStatusItems> flashStatus_{};
};
