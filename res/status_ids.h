#pragma once
// The Status dialog (IDD_STATUS) and the Power dialog (IDD_POWER).

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
