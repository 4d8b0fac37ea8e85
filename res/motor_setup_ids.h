#pragma once
// The Motor Setup dialog (IDD_MOTOR_SETUP); its axis radios are in
// axis_radio_ids.h.
#define IDC_MOTOR_EXIT                1028
#define IDC_MOTOR_TYPE                1600   // X..Q motor type list
#define IDC_MOTOR_TYPE_ZOOM           1601   // the zoom's two-item list
#define IDC_MOTOR_REVERSED            1602
#define IDC_MOTOR_SWAP_LIMITS         1603
#define IDC_MOTOR_ACTIVE_LOW          1604
#define IDC_MOTOR_CNC_PLAYBACK        1605
#define IDC_MOTOR_BACKOFF             1610
#define IDC_MOTOR_CURRENT_LIMIT       1611
#define IDC_MOTOR_RUN_CURRENT         1612
#define IDC_MOTOR_HOLD_CURRENT        1613
#define IDC_MOTOR_SWITCHOVER          1614
#define IDC_MOTOR_INIT_TORQUE         1615
#define IDC_MOTOR_INIT_TIME           1616
#define IDC_MOTOR_IMPULSE_TIME        1617
#define IDC_MOTOR_IMPULSE_AMP         1618
#define IDC_MOTOR_TORQUE_FACTOR       1619
#define IDC_MOTOR_TYPE_CAPTION        1620
#define IDC_MOTOR_BACKOFF_CAPTION     1621
#define IDC_MOTOR_CURRENT_CAPTION     1622
#define IDC_MOTOR_RUN_CURRENT_CAPTION 1623
#define IDC_MOTOR_HOLD_CURRENT_CAPTION 1624
#define IDC_MOTOR_SWITCHOVER_CAPTION  1625
#define IDC_MOTOR_INIT_TORQUE_CAPTION 1626
#define IDC_MOTOR_INIT_TIME_CAPTION   1627
#define IDC_MOTOR_IMPULSE_CAPTION     1628
#define IDC_MOTOR_TORQUE_FACTOR_CAPTION 1629
