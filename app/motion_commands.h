#pragma once
// The main window's motion: single and continuous goto of the current axis,
// stop, software zeroes, clearing the counters, the X trace and the video
// program.
#include <windows.h>

#include <cstdint>
#include <optional>


// The commanded target of the current axis: the Target field's value, or the
// user zero when the target did not change since the last goto; none (with
// its log line) when the target does not fit the axis's counter.
std::optional<int32_t> NextGotoTarget(int axis);

void OnGotoButton(HWND wnd);
void OnContinuousGotoButton(HWND wnd);
void OnStopButton(HWND wnd);
void OnClearCountButton(HWND wnd);
void OnZeroButton(HWND wnd, int id);
void OnVideoButton(HWND wnd);
// Closes the kept handle of the video program, if one was started.
void CloseVideoProcess();

// Timer steps, with the move status and error byte of the current axis.
void ContinuousGotoStep(uint8_t moveStatus, uint8_t errorByte);
void TraceStep();

void ResetMotionCommands();
