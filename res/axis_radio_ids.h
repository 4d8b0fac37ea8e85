#pragma once
// The axis radios "X", "Y", "Z", "Q", "Zoom": the main window and the axis
// setup dialogs share these numbers (ui/axis_radios.h reads them).
#define IDC_AXIS_X               1017
#define IDC_AXIS_Y               1018
#define IDC_AXIS_Z               1021
#define IDC_AXIS_Q               1023
#define IDC_AXIS_ZOOM            1025
