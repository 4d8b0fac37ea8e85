#include "core/scope_trigger.h"

#include <algorithm>
#include <cmath>

ScopeTriggerSettings ClampedTrigger(ScopeTriggerSettings settings)
{
    settings.lengthS = std::clamp(settings.lengthS, kScopeMinLengthS, kScopeMaxLengthS);
    settings.preTriggerPercent = std::clamp(settings.preTriggerPercent, 0, kScopeMaxPreTriggerPercent);
    settings.axis = std::clamp(settings.axis, 0, kAxisCount - 1);
    return settings;
}

bool ScopeTrigger::Condition(const ScopeAxisReading& reading) const
{
    if (settings_.kind == ScopeTriggerKind::kMoveStart)
        return (reading.moveStatus & 0x01) == 0;
    return std::fabs(static_cast<double>(reading.lag)) >= settings_.lagThresholdCounts;
}

bool ScopeTrigger::Fires(const ScopeAxisReading& reading)
{
    const bool now = Condition(reading);
    const bool fires = previous_.has_value() && !*previous_ && now;
    previous_ = now;
    return fires;
}

void ScopeRecorder::Start(std::vector<ScopeChannel> channels, std::vector<ScopeUnits> units,
                          const ScopeTriggerSettings& settings)
{
    channels.resize(std::min(channels.size(), size_t{kScopeChannels}));
    units.resize(channels.size());
    channels_ = std::move(channels);
    units_ = std::move(units);
    settings_ = ClampedTrigger(settings);
    kept_.clear();
    triggered_ = false;
    if (settings_.mode == ScopeMode::kRoll)
        state_ = ScopeState::kRolling;
    else
        Arm();
}

void ScopeRecorder::Arm()
{
    kept_.clear();
    triggered_ = false;
    trigger_ = ScopeTrigger(settings_);
    state_ = ScopeState::kArmed;
}

size_t ScopeRecorder::TotalSamples() const { return static_cast<size_t>(settings_.lengthS) * 1000 / kScopeTickMs; }

size_t ScopeRecorder::PreSamples() const
{
    return TotalSamples() * static_cast<size_t>(settings_.preTriggerPercent) / 100;
}

std::optional<std::vector<ScopeSample>> ScopeRecorder::Tick(uint32_t tick, const ScopeAxisReading (&readings)[kAxisCount])
{
    if (state_ == ScopeState::kStopped)
        return std::nullopt;
    Kept sample{tick, {}};
    for (size_t c = 0; c < channels_.size(); ++c) {
        const int axis = std::clamp(channels_[c].axis, 0, kAxisCount - 1);
        sample.values[c] = ScopeChannelValue(channels_[c].quantity, readings[axis], units_[c].lengthPerCount);
    }
    if (state_ == ScopeState::kArmed && trigger_.Fires(readings[settings_.axis])) {
        state_ = ScopeState::kCapturing;
        triggered_ = true;
        triggerTick_ = tick;
        afterTrigger_ = 0;
    }
    kept_.push_back(sample);
    if (state_ == ScopeState::kRolling) {
        while (kept_.size() > TotalSamples())
            kept_.pop_front();
        return std::nullopt;
    }
    if (state_ == ScopeState::kArmed) {
        while (kept_.size() > PreSamples())
            kept_.pop_front();
        return std::nullopt;
    }
    if (++afterTrigger_ < TotalSamples() - PreSamples())
        return std::nullopt;
    std::vector<ScopeSample> capture = Samples();
    if (settings_.mode == ScopeMode::kNormal)
        Arm();
    else
        state_ = ScopeState::kStopped;
    return capture;
}

uint32_t ScopeRecorder::ZeroTick() const
{
    if (triggered_)
        return triggerTick_;
    return kept_.empty() ? 0 : kept_.front().tick;
}

std::vector<ScopeSample> ScopeRecorder::Samples() const
{
    const uint32_t zero = ZeroTick();
    std::vector<ScopeSample> samples;
    samples.reserve(kept_.size());
    for (const Kept& k : kept_)
        samples.push_back({static_cast<int32_t>(k.tick - zero), k.values});
    return samples;
}

uint32_t ScopeRecorder::AxesRead() const
{
    if (state_ == ScopeState::kStopped)
        return 0;
    uint32_t mask = ScopeAxesRead(channels_);
    if (state_ == ScopeState::kArmed)
        mask |= AxisBit(settings_.axis);
    return mask;
}
