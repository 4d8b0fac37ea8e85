#pragma once
// The Calculator dialog (IDD_CALCULATOR); its axis radios are in
// axis_radio_ids.h.
#define IDC_CALC_OK                   1
#define IDC_CALC_TITLE                1700
#define IDC_CALC_LEAD_CAPTION         1701
#define IDC_CALC_LEAD                 1702
#define IDC_CALC_STEPS_CAPTION        1703
#define IDC_CALC_STEPS                1704
#define IDC_CALC_MICROSTEPS_CAPTION   1705
#define IDC_CALC_MICROSTEPS           1706
#define IDC_CALC_POLE_PAIRS_CAPTION   1707
#define IDC_CALC_POLE_PAIRS           1708
#define IDC_CALC_LEAD_PITCH_CAPTION   1709
#define IDC_CALC_LEAD_PITCH           1710
#define IDC_CALC_ROTATIONS_CAPTION    1711
#define IDC_CALC_ROTATIONS            1712
#define IDC_CALC_MOTOR_LAG_CAPTION    1713
#define IDC_CALC_MOTOR_LAG            1714
#define IDC_CALC_TORQUE               1715
#define IDC_CALC_PV                   1716
#define IDC_CALC_CALC                 1717
