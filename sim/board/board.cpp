#include "board.h"

#include <cstdio>

namespace {

constexpr uint8_t kFollowingErrorBit = 0x02;

} // namespace

void Board::PowerOn(const MachineDescription& machine, const std::optional<FlashState>& flash)
{
    machine_ = machine;
    if (flash) {
        flash_ = *flash;
    } else {
        flash_.params = machine.params;
        flash_.words = machine.flash;
    }
    versions_ = machine.versions;
    present_ = machine.boardPresent;
    openFailures_ = machine.openFailures;
    open_ = false;
    fiveButtonJoystick_ = false;
    SetJoystickState(0, 0);
    PowerOnJoystick();
    PowerOnSupplies();
    PowerOnGpio();
    flashStatus_.fill(0);
    for (int a = 0; a < kAxisCount; ++a) {
        const AxisSetup& setup = machine.axes[a];
        axes_[a].PowerOn(setup.powerOnPosition, setup.travelMin, setup.travelMax);
        axes_[a].SetExtraLag(setup.extraLag);
        axes_[a].SetLimitSwitches(setup.limitSwitches);
        axes_[a].SetHomeSwitchWidth(setup.homeSwitchWidth);
        axes_[a].SetStuck(nowUs_, setup.stuck);
        const auto delivered = [&](int xParam) {
            return static_cast<double>(static_cast<int32_t>(machine.params[AxisParam(xParam, a)]));
        };
        axes_[a].SetMotor(MotorTunedFor(delivered(50), delivered(51)));
        forcedMoveStatus_[a] = {setup.moveStatusMask, setup.moveStatusBits};
        if (setup.codedScale)
            scales_[a].SetCoded(*setup.codedScale);
        else
            scales_[a].SetMarks(setup.marks);
        markInverted_[a] = setup.markInverted;
        RefreshMarks(a);
    }
    Reboot();
}

// What the board's own start does: parameters and user words come from
// flash, the drives stand where they are and the counters start at 0 there.
void Board::Reboot()
{
    params_ = flash_.params;
    words_ = flash_.words;
    for (int a = 0; a < kAxisCount; ++a) {
        const double here = axes_[a].Nominal(nowUs_).position;
        axes_[a].Place(nowUs_, here);
        axes_[a].ZeroCount(here);
        io_[a] = AxisIo{};
        io_[a].scannedUs = nowUs_;
        io_[a].stickyErrors = machine_.axes[a].errorByte;
        io_[a].axisStatus = machine_.axes[a].axisStatus;
    }
    systemStatus_ = machine_.systemStatus;
    startupWord_ = 0;
    externOutputs_ = lampMask_ = 0;
    lampLevels_.fill(0);
    gpioDirection_ = gpioLevels_ = 0;
    probeFlags_ = 1;
    probeOption_.fill(0);
    probeStatus_ = machine_.probeStatus;
    probeLatch_ = ProbeLatch{};
    probeRetractEndUs_ = 0;
    probeRetractError_ = false;
    probeScannedUs_ = nowUs_;
}

void Board::Update(uint64_t nowUs)
{
    nowUs_ = nowUs;
    ScanProbeHits();
    for (int a = 0; a < kAxisCount; ++a) {
        ScanReferenceMarks(a);
        AxisEvents(a);
    }
}

// What an axis did on its own since the last call.
void Board::AxisEvents(int axis)
{
    Axis& a = axes_[axis];
    const uint64_t endUs = a.EndUs();
    char text[160];
    switch (a.Update(nowUs_)) {
    case AxisEvent::FollowingError:
        io_[axis].transientErrors |= kFollowingErrorBit;
        std::snprintf(text, sizeof text, "axis %s: following error over %d counts, stopped at %d", kAxisNames[axis],
                      static_cast<int>(Param(AxisParam(66, axis))), ActualCount(axis));
        Note(text, endUs);
        break;
    case AxisEvent::HomeFound:
        std::snprintf(text, sizeof text, "axis %s: home found, counter 0", kAxisNames[axis]);
        Note(text, endUs);
        break;
    case AxisEvent::None:
        break;
    }
}

void Board::Note(const std::string& text, uint64_t atUs) const
{
    if (notify_)
        notify_(text, atUs);
}

void Board::Persist()
{
    if (persist_)
        persist_(flash_);
}

void Board::PutBytes(uint32_t value, uint8_t* b1, uint8_t* b2, uint8_t* b3, uint8_t* b4)
{
    Put(b1, value >> 24 & 0xFF);
    Put(b2, value >> 16 & 0xFF);
    Put(b3, value >> 8 & 0xFF);
    Put(b4, value & 0xFF);
}

// Axis quantities

bool Board::HasEncoder(int axis) const
{
    constexpr int kDisabled = 0;
    constexpr int kOpenLoopStepper = 4;
    return MotorType(axis) != kDisabled && MotorType(axis) != kOpenLoopStepper;
}

double Board::NominalPosition(int axis) const { return axes_[axis].Nominal(nowUs_).position; }

// Without an encoder the board knows only where it sends the motor.
double Board::ActualPosition(int axis) const
{
    return HasEncoder(axis) ? axes_[axis].Actual(nowUs_) : NominalPosition(axis);
}

int32_t Board::NominalCount(int axis) const { return axes_[axis].Count(NominalPosition(axis)); }

int32_t Board::ActualCount(int axis) const { return axes_[axis].Count(ActualPosition(axis)); }

// Control interface

std::optional<uint32_t> Board::PeekParam(int number) const
{
    if (number < 0 || number >= kParamCount)
        return std::nullopt;
    return params_[number];
}

void Board::PokeParam(int number, uint32_t value)
{
    if (number >= 0 && number < kParamCount)
        params_[number] = value;
}

std::optional<uint32_t> Board::PeekFlashWord(int index) const
{
    if (index < 0 || index >= kFlashWordCount)
        return std::nullopt;
    return words_[index];
}

void Board::PokeFlashWord(int index, uint32_t word)
{
    if (index < 0 || index >= kFlashWordCount)
        return;
    words_[index] = flash_.words[index] = word;
    Persist();
}

void Board::SetErrorByte(int axis, uint8_t bits)
{
    if (axis >= 0 && axis < kAxisCount) {
        io_[axis].stickyErrors = bits;
        io_[axis].transientErrors = 0;
    }
}

void Board::InjectErrorByte(int axis, uint8_t bits, bool sticky)
{
    if (axis < 0 || axis >= kAxisCount)
        return;
    axes_[axis].Stop(nowUs_, Acceleration(axis));
    (sticky ? io_[axis].stickyErrors : io_[axis].transientErrors) |= bits;
}

void Board::SetExtraLag(int axis, int32_t counts)
{
    if (axis >= 0 && axis < kAxisCount)
        axes_[axis].SetExtraLag(counts);
}

void Board::SetAxisStatus(int axis, uint16_t bits)
{
    if (axis >= 0 && axis < kAxisCount)
        io_[axis].axisStatus = bits;
}

void Board::ForceMoveStatus(int axis, uint8_t mask, uint8_t bits)
{
    if (axis >= 0 && axis < kAxisCount)
        forcedMoveStatus_[axis] = {mask, bits};
}

void Board::PlaceAxis(int axis, int32_t count)
{
    if (axis >= 0 && axis < kAxisCount)
        axes_[axis].Place(nowUs_, axes_[axis].FromCount(count));
}

void Board::SetTravel(int axis, int32_t minCount, int32_t maxCount)
{
    if (axis < 0 || axis >= kAxisCount)
        return;
    Axis& a = axes_[axis];
    a.SetTravel(a.FromCount(minCount), a.FromCount(maxCount));
    a.Place(nowUs_, NominalPosition(axis));
    RefreshMarks(axis);
}

void Board::SetZoomHomeSwitchWidth(int32_t counts) { axes_[kZoomAxis].SetHomeSwitchWidth(counts); }

void Board::SetAxisStuck(int axis, bool stuck)
{
    if (axis >= 0 && axis < kAxisCount)
        axes_[axis].SetStuck(nowUs_, stuck);
}

// Like a change of travel, the axis stops where it is.
void Board::SetLimitSwitches(int axis, bool present)
{
    if (axis < 0 || axis >= kAxisCount)
        return;
    axes_[axis].SetLimitSwitches(present);
    axes_[axis].Place(nowUs_, NominalPosition(axis));
}

std::optional<int32_t> Board::PeekPosition(int axis) const
{
    if (axis < 0 || axis >= kAxisCount)
        return std::nullopt;
    return ActualCount(axis);
}
