#pragma once
// Control, dialog and timer identifiers. The numbers are fixed: other
// programs of the family and the technicians' notes refer to them.

// Dialogs
#define IDD_MAIN                 101
#define IDD_MULTI_AXIS_GOTO      102
#define IDD_JOYSTICK             104
#define IDD_TRACKBALL            106
#define IDD_TOUCH_PROBE          107
#define IDD_STATUS               108
#define IDD_MOTOR_SETUP          109
#define IDD_USER_PARAMS          110
#define IDD_ENCODER              111
#define IDD_ZOOM                 112
#define IDD_LAMP                 113
#define IDD_SW_FENCE             114
#define IDD_CALCULATOR           115
#define IDD_AUTO_HOME_PROGRESS   116
#define IDD_GPIO                 118
#define IDD_SYSTEM               120
#define IDD_COPY_SETTINGS        123
#define IDD_POWER                125
#define IDD_CIRCULAR_GOTO        128

#define IDI_STAGETUNE            200

// Every window's periodic work runs on its timer 1.
#define IDT_MAIN                 1

// Main window: "Exit" is the dialog's default button.
#define IDC_EXIT                 1

// Axis and unit selection
#define IDC_AXIS_X               1017
#define IDC_AXIS_Y               1018
#define IDC_AXIS_Z               1021
#define IDC_AXIS_Q               1023
#define IDC_AXIS_ZOOM            1025
#define IDC_UNIT_MM              1250
#define IDC_UNIT_IN              1252
#define IDC_UNIT_STORED          1253
#define IDC_DISPLAY_PARAM_NUMBER 1301

// Parameter fields (edit) and their captions
#define IDC_PARAM_P              1010
#define IDC_PARAM_D              1011
#define IDC_PARAM_I              1012
#define IDC_PARAM_I_LIMIT        1013
#define IDC_PARAM_PWM_BASE       1014
#define IDC_PARAM_CONT_ZONE      1015
#define IDC_PARAM_CUTOFF_DELAY   1041
#define IDC_PARAM_TARGET_WINDOW  1045
#define IDC_PARAM_VEL            1048
#define IDC_PARAM_ACC            1051
#define IDC_PARAM_JERK           1053
#define IDC_PARAM_MOTION_MONITOR 1057
#define IDC_PARAM_FOLLOW_LIMIT   1062
#define IDC_PARAM_PV_NOMINAL     1080
#define IDC_PARAM_PWM_OFFSET     1087
#define IDC_PARAM_TORQUE         1092
#define IDC_PARAM_MOTOR_LAG      1722
#define IDC_PARAM_HOLD_TORQUE    1097
#define IDC_PARAM_JOY_VEL        1144
#define IDC_PARAM_TRACKBALL_VEL  1147
#define IDC_PARAM_ACC_DELTA      1155
#define IDC_PARAM_D_LIMIT        1280

#define IDC_CAPTION_P              1254
#define IDC_CAPTION_D              1255
#define IDC_CAPTION_I              1256
#define IDC_CAPTION_I_LIMIT        1257
#define IDC_CAPTION_PWM_BASE       1258
#define IDC_CAPTION_CONT_ZONE      1259
#define IDC_CAPTION_CUTOFF_DELAY   1264
#define IDC_CAPTION_TARGET_WINDOW  1266
#define IDC_CAPTION_VEL            1268
#define IDC_CAPTION_ACC            1270
#define IDC_CAPTION_JERK           1272
#define IDC_CAPTION_MOTION_MONITOR 1276
#define IDC_CAPTION_FOLLOW_LIMIT   1278
#define IDC_CAPTION_PV_NOMINAL     1289
#define IDC_CAPTION_PWM_OFFSET     1290
#define IDC_CAPTION_TORQUE         1291
#define IDC_CAPTION_MOTOR_LAG      1723
#define IDC_CAPTION_HOLD_TORQUE    1292
#define IDC_CAPTION_JOY_VEL        1294
#define IDC_CAPTION_TRACKBALL_VEL  1296
#define IDC_CAPTION_ACC_DELTA      1297
#define IDC_CAPTION_D_LIMIT        1298

// Readouts (read-only edits) and their captions
#define IDC_READOUT_X            1100
#define IDC_READOUT_Y            1112
#define IDC_READOUT_Z            1117
#define IDC_READOUT_Q            1122
#define IDC_READOUT_ZOOM         1128
#define IDC_POSITION             1107
#define IDC_FOLLOWING_ERROR      1133
#define IDC_VELOCITY             1157
#define IDC_MAX_FOLLOWING        1241
#define IDC_LABEL_POSITION       1482
#define IDC_LABEL_FOLLOWING      1479
#define IDC_LABEL_VELOCITY       1476
#define IDC_LABEL_MAX_FOLLOWING  1472
#define IDC_LABEL_TARGET         1468

// Motion inputs and buttons
#define IDC_TARGET               1137
#define IDC_VEL_PERCENT          1215
#define IDC_GOTO                 1148
#define IDC_CONT_GOTO            1177
#define IDC_HOME                 1184
#define IDC_CONT_HOME            1179
#define IDC_STOP                 1150

// Zero buttons
#define IDC_ZERO_X               1159
#define IDC_ZERO_Y               1161
#define IDC_ZERO_Z               1163
#define IDC_ZERO_Q               1165
#define IDC_ZERO_ZOOM            1167

// Version captions
#define IDC_VER_FIRMWARE         1005
#define IDC_VER_HARDWARE         1006
#define IDC_VER_FPGA             1007
#define IDC_VER_SERIAL           1008
#define IDC_VER_DLL              1016
#define IDC_VER_OE               1020

// Files, flash, board
#define IDC_LOAD_FILE            1171
#define IDC_SAVE_FILE            1029
#define IDC_SAVE_FLASH           1034
#define IDC_DEL_NEW_FLASH        1036
#define IDC_RESET                1275
#define IDC_CLEAR_COUNT          1284
#define IDC_REREAD               1027
#define IDC_APPLY                1009

// Buttons that open the other windows
#define IDC_STATUS               1208
#define IDC_ENCODER              1169
#define IDC_MOTOR                1223
#define IDC_COPY_SETTINGS        1263
#define IDC_TOUCH_PROBE          1667
#define IDC_JOYSTICK             1173
#define IDC_TRACKBALL            1192
#define IDC_SYSTEM               1175
#define IDC_SW_FENCE             1237
#define IDC_USER_PARAM           1231
#define IDC_CALC                 1450
#define IDC_LAMP                 1234
#define IDC_ZOOM                 1227
#define IDC_GPIO                 1288
#define IDC_MULTI_AXIS_GOTO      1104
#define IDC_CIRCULAR_GOTO        1105
#define IDC_AUTO_HOME            1246
#define IDC_VIDEO                1260

// A command the program posts to itself (no control): the read-speed test.
#define IDM_READ_SPEED_TEST      9999

// ---------------------------------------------------------------------------
// Status dialog (IDD_STATUS) and Power dialog (IDD_POWER)
// ---------------------------------------------------------------------------
#define IDT_STATUS                    1
#define IDT_POWER                     1

// Status: per axis the move status byte, the error byte and (X..Q) the axis
// status word, each with a box per known bit.
#define IDC_STATUS_MOVE_X             1066
#define IDC_STATUS_MOVE_Y             1071
#define IDC_STATUS_MOVE_Z             1077
#define IDC_STATUS_MOVE_Q             1081
#define IDC_STATUS_MOVE_ZOOM          1127
#define IDC_STATUS_ERROR_X            1084
#define IDC_STATUS_ERROR_Y            1088
#define IDC_STATUS_ERROR_Z            1093
#define IDC_STATUS_ERROR_Q            1098
#define IDC_STATUS_ERROR_ZOOM         1131
#define IDC_STATUS_COUNTER_X          1105
#define IDC_STATUS_COUNTER_Y          1109
#define IDC_STATUS_COUNTER_Z          1114
#define IDC_STATUS_COUNTER_Q          1119
#define IDC_STATUS_ENC_FREQ_X         1440
#define IDC_STATUS_ENC_FREQ_Y         1442
#define IDC_STATUS_ENC_FREQ_Z         1446
#define IDC_STATUS_ENC_FREQ_Q         1449
#define IDC_STATUS_ENC_SIGNAL_X       1454
#define IDC_STATUS_ENC_SIGNAL_Y       1457
#define IDC_STATUS_ENC_SIGNAL_Z       1460
#define IDC_STATUS_ENC_SIGNAL_Q       1463
#define IDC_STATUS_SW_PLUS_X          1470
#define IDC_STATUS_SW_PLUS_Y          1474
#define IDC_STATUS_SW_PLUS_Z          1477
#define IDC_STATUS_SW_PLUS_Q          1480
#define IDC_STATUS_SW_PLUS_ZOOM       1483
#define IDC_STATUS_SW_MINUS_X         1486
#define IDC_STATUS_SW_MINUS_Y         1489
#define IDC_STATUS_SW_MINUS_Z         1492
#define IDC_STATUS_SW_MINUS_Q         1495
#define IDC_STATUS_SW_MINUS_ZOOM      1497
#define IDC_STATUS_HW_PLUS_X          1517
#define IDC_STATUS_HW_PLUS_Y          1572
#define IDC_STATUS_HW_PLUS_Z          1575
#define IDC_STATUS_HW_PLUS_Q          1579
#define IDC_STATUS_HW_PLUS_ZOOM       1582
#define IDC_STATUS_HW_MINUS_X         1520
#define IDC_STATUS_HW_MINUS_Y         1530
#define IDC_STATUS_HW_MINUS_Z         1538
#define IDC_STATUS_HW_MINUS_Q         1543
#define IDC_STATUS_HW_MINUS_ZOOM      1555
#define IDC_STATUS_FOLLOWING_X        1522
#define IDC_STATUS_FOLLOWING_Y        1532
#define IDC_STATUS_FOLLOWING_Z        1539
#define IDC_STATUS_FOLLOWING_Q        1544
#define IDC_STATUS_FOLLOWING_ZOOM     1558
#define IDC_STATUS_MONITOR_X          1524
#define IDC_STATUS_MONITOR_Y          1534
#define IDC_STATUS_MONITOR_Z          1540
#define IDC_STATUS_MONITOR_Q          1546
#define IDC_STATUS_MONITOR_ZOOM       1561
#define IDC_STATUS_OVER_CURRENT_X     1526
#define IDC_STATUS_OVER_CURRENT_Y     1536
#define IDC_STATUS_OVER_CURRENT_Z     1541
#define IDC_STATUS_OVER_CURRENT_Q     1549
#define IDC_STATUS_OVER_CURRENT_ZOOM  1565
#define IDC_STATUS_ESTOP_X            1528
#define IDC_STATUS_ESTOP_Y            1537
#define IDC_STATUS_ESTOP_Z            1542
#define IDC_STATUS_ESTOP_Q            1552
#define IDC_STATUS_ESTOP_ZOOM         1568
#define IDC_STATUS_RETRACT_X          1529
#define IDC_STATUS_RETRACT_Y          1545
#define IDC_STATUS_RETRACT_Z          1547
#define IDC_STATUS_RETRACT_Q          1553
#define IDC_STATUS_RETRACT_ZOOM       1569

// Status: the system status word and its boxes, bit 0..15 (bit 7 has none).
#define IDC_STATUS_SYSTEM             1102
#define IDC_STATUS_SYS_WATCH          1585
#define IDC_STATUS_SYS_ESTOP          1588
#define IDC_STATUS_SYS_AIR_STOP       1591
#define IDC_STATUS_SYS_JOYSTICK       1594
#define IDC_STATUS_SYS_TRACKBALL      1596
#define IDC_STATUS_SYS_HEART_BEAT     1598
#define IDC_STATUS_SYS_RAM            1600
#define IDC_STATUS_SYS_FLASH_PAR      1602
#define IDC_STATUS_SYS_FLASH_USER     1604
#define IDC_STATUS_SYS_FLASH_SYS      1606
#define IDC_STATUS_SYS_FLASH_ICMQ     1608
#define IDC_STATUS_SYS_FLASH_PAR_B    1610
#define IDC_STATUS_SYS_FLASH_USER_B   1612
#define IDC_STATUS_SYS_FLASH_SYS_B    1614
#define IDC_STATUS_SYS_FLASH_ICMQ_B   1616

// Status: flash status items 240..243 (original) and 244..247 (copy).
#define IDC_STATUS_FLASH_240          1108
#define IDC_STATUS_FLASH_241          1111
#define IDC_STATUS_FLASH_242          1116
#define IDC_STATUS_FLASH_243          1121
#define IDC_STATUS_FLASH_244          1113
#define IDC_STATUS_FLASH_245          1118
#define IDC_STATUS_FLASH_246          1123
#define IDC_STATUS_FLASH_247          1125

// Status: buttons
#define IDC_STATUS_CLEAR_ENCODER      1203
#define IDC_STATUS_POWER              1206
#define IDC_STATUS_EXIT               1028

// Power: motor currents, supplies, OK
#define IDC_POWER_CURRENT_X           1652
#define IDC_POWER_CURRENT_Y           1654
#define IDC_POWER_CURRENT_Z           1656
#define IDC_POWER_CURRENT_Q           1658
#define IDC_POWER_CURRENT_ZOOM        1659
#define IDC_POWER_SUPPLY              1660
#define IDC_POWER_INTERPOLATOR        1661
#define IDC_POWER_ENCODER             1662
#define IDC_POWER_OK                  1028
