#pragma once
// The Scope's sampling on the main window's 10 ms tick, apart from its
// window: the Move Response window and the service report start it and take
// its captures the same way. It reads the board only while it runs, and
// only the axes its channels and its trigger need.
#include <cstdint>
#include <deque>
#include <vector>

#include "core/scope_capture.h"
#include "core/scope_trigger.h"

// Channels of axis and quantity; their units follow the main window's unit
// mode at the start. Replaces what ran before.
void StartScopeAcquisition(const std::vector<ScopeChannel>& channels, const ScopeTriggerSettings& settings);
// Pauses: nothing more is read; what was kept stays.
void StopScopeAcquisition();
bool ScopeAcquisitionRunning();
const ScopeRecorder& ScopeAcquisition();

// The main window's tick entry: one sample of the running acquisition.
void ScopeTick();

// Every capture completed since the program started, oldest first; the
// oldest go once there are more than kScopeCapturesKept.
inline constexpr size_t kScopeCapturesKept = 64;
const std::deque<ScopeCapture>& ScopeCapturesSinceStart();
// Counts every capture ever completed, so a reader sees a new one even
// when the list is full.
uint64_t ScopeCapturesCompleted();
// A capture of what the acquisition holds now (a roll window, a capture
// under way), with the board's versions and the date as a completed one.
ScopeCapture SnapshotScopeCapture();

void ResetScopeAcquisition();
