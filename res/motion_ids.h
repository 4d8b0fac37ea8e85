#pragma once
// The motion-test windows: Multi Axis Goto (IDD_MULTI_AXIS_GOTO), Watch
// (IDD_WATCH) and Circular goto (IDD_CIRCULAR_GOTO). The three windows are
// separate templates, so a number may mean one control in one of them and
// another control in the next (1230, 1028, 1046).

// Multi Axis Goto: one column per axis X, Y, Z, Q.
#define IDC_MAG_POS_X                 1019
#define IDC_MAG_POS_Y                 1022
#define IDC_MAG_POS_Z                 1024
#define IDC_MAG_POS_Q                 1026
#define IDC_MAG_VEL_X                 1135
#define IDC_MAG_VEL_Y                 1146
#define IDC_MAG_VEL_Z                 1152
#define IDC_MAG_VEL_Q                 1154
#define IDC_MAG_LAG_X                 1030
#define IDC_MAG_LAG_Y                 1035
#define IDC_MAG_LAG_Z                 1038
#define IDC_MAG_LAG_Q                 1042
#define IDC_MAG_MAX_LAG_X             1130
#define IDC_MAG_MAX_LAG_Y             1200
#define IDC_MAG_MAX_LAG_Z             1140
#define IDC_MAG_MAX_LAG_Q             1143
#define IDC_MAG_MOVE_STATUS_X         1603
#define IDC_MAG_MOVE_STATUS_Y         1605
#define IDC_MAG_MOVE_STATUS_Z         1607
#define IDC_MAG_MOVE_STATUS_Q         1609
#define IDC_MAG_ERROR_X               1595
#define IDC_MAG_ERROR_Y               1597
#define IDC_MAG_ERROR_Z               1599
#define IDC_MAG_ERROR_Q               1601
#define IDC_MAG_COUNTER_X             1584
#define IDC_MAG_COUNTER_Y             1587
#define IDC_MAG_COUNTER_Z             1590
#define IDC_MAG_COUNTER_Q             1593
#define IDC_MAG_VEL_PERCENT_X         1222
#define IDC_MAG_VEL_PERCENT_Y         1226
#define IDC_MAG_VEL_PERCENT_Z         1230
#define IDC_MAG_VEL_PERCENT_Q         1233
#define IDC_MAG_TARGET_X              1049
#define IDC_MAG_TARGET_Y              1052
#define IDC_MAG_TARGET_Z              1055
#define IDC_MAG_TARGET_Q              1059
#define IDC_MAG_GOTO_X                1181
#define IDC_MAG_GOTO_Y                1187
#define IDC_MAG_GOTO_Z                1195
#define IDC_MAG_GOTO_Q                1217
#define IDC_MAG_ZERO_X                1236
#define IDC_MAG_ZERO_Y                1240
#define IDC_MAG_ZERO_Z                1244
#define IDC_MAG_ZERO_Q                1249

// Multi Axis Goto: row captions that follow the unit
#define IDC_MAG_POS_CAPTION           1613
#define IDC_MAG_VEL_CAPTION           1615
#define IDC_MAG_LAG_CAPTION           1490
#define IDC_MAG_MAX_LAG_CAPTION       1493

// Multi Axis Goto: the system, the sequence and the buttons
#define IDC_MAG_SYSTEM                1611
#define IDC_MAG_FIXED                 1498
#define IDC_MAG_RANDOM                1499
#define IDC_MAG_GOTO                  1618
#define IDC_MAG_CONT_GOTO             1617
#define IDC_MAG_STOP                  1046
#define IDC_MAG_SET_HOME              1064
#define IDC_MAG_SET_TARGET            1126
#define IDC_MAG_WATCH                 1158
#define IDC_MAG_TP_TEST               1619
#define IDC_MAG_EXIT                  1028

// Watch: the chosen quantity of X, Y and Z
#define IDC_WATCH_SELECT              1500
#define IDC_WATCH_X                   1501
#define IDC_WATCH_Y                   1503
#define IDC_WATCH_Z                   1506
#define IDC_WATCH_OK                  1028

// Circular goto
#define IDC_CIRC_VEL_PERCENT          1685
#define IDC_CIRC_START_ANGLE          1223
#define IDC_CIRC_REL_ANGLE            1224
#define IDC_CIRC_RADIUS               1225
#define IDC_CIRC_FEED                 1230
#define IDC_CIRC_PITCH                1228
#define IDC_CIRC_YAW                  1229
#define IDC_CIRC_SPARE_1              1226
#define IDC_CIRC_SPARE_2              1227
#define IDC_CIRC_GOTO                 1686
#define IDC_CIRC_STOP                 1046
#define IDC_CIRC_EXIT                 1028

// The goto windows send their runs to the Scope.
#define IDC_MAG_SCOPE                 3301
#define IDC_CIRC_SCOPE                3302
