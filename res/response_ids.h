#pragma once
// IDD_MOVE_RESPONSE: the Move Response window.
#define IDC_RESPONSE_AXIS          3710
#define IDC_RESPONSE_DISTANCE      3711
#define IDC_RESPONSE_DISTANCE_CAPTION 3712
#define IDC_RESPONSE_VELOCITY      3713
#define IDC_RESPONSE_DWELL         3714
#define IDC_RESPONSE_REPETITIONS   3715
#define IDC_RESPONSE_RUN           3720
#define IDC_RESPONSE_STOP          3721
#define IDC_RESPONSE_EXPORT        3722
#define IDC_RESPONSE_SCOPE         3723
#define IDC_RESPONSE_CLOSE         3724
#define IDC_RESPONSE_STATE         3725
// The table of runs: a report-style list view.
#define IDC_RESPONSE_RUNS          3730
