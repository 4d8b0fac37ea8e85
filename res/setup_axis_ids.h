#pragma once
// The axis radios "X", "Y", "Z", "Q", "Zoom" that the axis setup dialogs
// share (the same numbers as the main window's).
#define IDC_SETUP_AXIS_X         1017
#define IDC_SETUP_AXIS_Y         1018
#define IDC_SETUP_AXIS_Z         1021
#define IDC_SETUP_AXIS_Q         1023
#define IDC_SETUP_AXIS_ZOOM      1025
