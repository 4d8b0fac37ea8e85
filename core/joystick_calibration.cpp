#include "core/joystick_calibration.h"

#include "core/axes.h"

#include <algorithm>

void WidenJoystickExtremes(uint16_t reading, uint16_t& max, uint16_t& min)
{
    max = std::max(max, reading);
    min = std::min(min, reading);
}

std::optional<JoystickWindow> QuickJoystickWindow(bool enabled, uint16_t centre, uint16_t max, uint16_t min)
{
    if (!enabled)
        return JoystickWindow{0, centre, std::min<uint32_t>(2u * centre, kJoystickUnsweptMax)};
    if (max < min)
        return std::nullopt;
    return JoystickWindow{min, centre, max};
}

void JoystickSamples::Take(uint16_t reading)
{
    highest = std::max<int32_t>(highest, reading);
    lowest = std::min<int32_t>(lowest, reading);
}

void CopyJoystickSamplesYToZ(JoystickLongSamples& samples, int position)
{
    samples[JoystickSampleIndex(kAxisZ, position)] = samples[JoystickSampleIndex(kAxisY, position)];
}

std::optional<JoystickWindow> LongJoystickWindow(const JoystickLongSamples& samples, int axis)
{
    const JoystickSamples& atMin = samples[JoystickSampleIndex(axis, kHeldAtMinimum)];
    const JoystickSamples& atMax = samples[JoystickSampleIndex(axis, kHeldAtMaximum)];
    const JoystickSamples& centred = samples[JoystickSampleIndex(axis, kCentred)];
    if (!atMin.Taken() || !atMax.Taken() || !centred.Taken())
        return std::nullopt;
    // The inner edge of each end's readings, so that the whole window lies
    // within what the stick reached; a falling axis has its ends swapped.
    const bool rising = atMin.highest <= atMax.highest;
    const int32_t max = rising ? atMax.lowest : atMin.lowest;
    const int32_t min = rising ? atMin.highest : atMax.highest;
    const int32_t centre = (centred.highest + centred.lowest) / 2;
    return JoystickWindow{static_cast<uint32_t>(min), static_cast<uint32_t>(centre), static_cast<uint32_t>(max)};
}
