#pragma once
// The Calculator dialog (115): "Torque" and "P V(nominal)" for the motor of
// one axis, from its mechanical data, shown only. What it keeps is the
// stepper drive data of each axis (lead, full steps, microsteps), which the
// unit conversions and the flash record use; "OK" also decides whether that
// lead is believable.
#include <windows.h>

INT_PTR CALLBACK MotorCalculatorDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
void RunMotorCalculatorDialog(HWND owner);

void ResetMotorCalculatorDialog();
