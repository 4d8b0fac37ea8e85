#pragma once
// The Zoom dialog (IDD_ZOOM).

// "1" .. "10": go to the stored zoom position.
#define IDC_ZOOM_GOTO_1               1369
#define IDC_ZOOM_GOTO_2               1381
#define IDC_ZOOM_GOTO_3               1389
#define IDC_ZOOM_GOTO_4               1396
#define IDC_ZOOM_GOTO_5               1400
#define IDC_ZOOM_GOTO_6               1404
#define IDC_ZOOM_GOTO_7               1408
#define IDC_ZOOM_GOTO_8               1412
#define IDC_ZOOM_GOTO_9               1416
#define IDC_ZOOM_GOTO_10              1421
// The stored positions beside the buttons, read-only.
#define IDC_ZOOM_POS_1                1621
#define IDC_ZOOM_POS_2                1622
#define IDC_ZOOM_POS_3                1623
#define IDC_ZOOM_POS_4                1624
#define IDC_ZOOM_POS_5                1625
#define IDC_ZOOM_POS_6                1626
#define IDC_ZOOM_POS_7                1627
#define IDC_ZOOM_POS_8                1628
#define IDC_ZOOM_POS_9                1629
#define IDC_ZOOM_POS_10               1630

#define IDC_ZOOM_HOME                 1424
#define IDC_ZOOM_RESET_STATE          1428
#define IDC_ZOOM_LOG_STATES           1437
#define IDC_ZOOM_POSITION             1620
#define IDC_ZOOM_FOLLOWING            1619
#define IDC_ZOOM_AXIS_STATUS          1648
#define IDC_ZOOM_ERROR                1647
#define IDC_ZOOM_TICKS                1141
#define IDC_ZOOM_P235                 1649
#define IDC_ZOOM_HOME_PERCENT         1650
#define IDC_ZOOM_PERCENT_RANGE        1705
#define IDC_ZOOM_APPLY                1029
#define IDC_ZOOM_HOME_TYPE            1725
#define IDC_ZOOM_OK                   1028
