#pragma once
// The Motor Setup dialog (109): motor type, CNC playback, direction, limit
// switch wiring, current limit, back-off, the stepper currents of newer
// firmware and the commutation of brushless motors, one axis at a time.
// Every way out stores the fields; only what differs reaches the board.
#include <windows.h>

INT_PTR CALLBACK MotorSetupDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
// Modal; returns when the technician closed it.
void RunMotorSetupDialog(HWND owner);

void ResetMotorSetupDialog();
