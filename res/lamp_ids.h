#pragma once
// The Lamp Dialog (IDD_LAMP).

// One slider and one number field per channel; channels 9 and 10 belong to
// the serial lamp box, channel 9 alone to the Z track.
#define IDC_LAMP_SLIDER_1             1375
#define IDC_LAMP_SLIDER_2             1379
#define IDC_LAMP_SLIDER_3             1383
#define IDC_LAMP_SLIDER_4             1391
#define IDC_LAMP_SLIDER_5             1397
#define IDC_LAMP_SLIDER_6             1401
#define IDC_LAMP_SLIDER_7             1405
#define IDC_LAMP_SLIDER_8             1409
#define IDC_LAMP_SLIDER_9             1415
#define IDC_LAMP_SLIDER_10            1420
#define IDC_LAMP_LEVEL_1              1465
#define IDC_LAMP_LEVEL_2              1467
#define IDC_LAMP_LEVEL_3              1471
#define IDC_LAMP_LEVEL_4              1475
#define IDC_LAMP_LEVEL_5              1478
#define IDC_LAMP_LEVEL_6              1481
#define IDC_LAMP_LEVEL_7              1484
#define IDC_LAMP_LEVEL_8              1487
#define IDC_LAMP_LEVEL_9              1491
#define IDC_LAMP_LEVEL_10             1494
#define IDC_LAMP_LABEL_9              1720
#define IDC_LAMP_LABEL_10             1721

// The serial box's four switches.
#define IDC_LAMP_SWITCH_GROUP         1722
#define IDC_LAMP_SWITCH_1             1502
#define IDC_LAMP_SWITCH_2             1504
#define IDC_LAMP_SWITCH_3             1508
#define IDC_LAMP_SWITCH_4             1510

// The LUX400 lamp driver's outputs 1..7 (P026..P032): current limit (three
// outputs only), the current it allows, light mode.
#define IDC_LUX_LIMIT_1               1466
#define IDC_LUX_LIMIT_2               1468
#define IDC_LUX_LIMIT_7               1485
#define IDC_LUX_CURRENT_1             1698
#define IDC_LUX_CURRENT_2             1699
#define IDC_LUX_CURRENT_3             1700
#define IDC_LUX_CURRENT_4             1701
#define IDC_LUX_CURRENT_5             1702
#define IDC_LUX_CURRENT_6             1703
#define IDC_LUX_CURRENT_7             1704
#define IDC_LUX_MODE_1                1503
#define IDC_LUX_MODE_2                1505
#define IDC_LUX_MODE_3                1506
#define IDC_LUX_MODE_4                1507
#define IDC_LUX_MODE_5                1509
#define IDC_LUX_MODE_6                1511
#define IDC_LUX_MODE_7                1512
#define IDC_LUX_GROUP                 1723
#define IDC_LUX_HEADING_LIMIT         1724
#define IDC_LUX_HEADING_CURRENT       1725
#define IDC_LUX_HEADING_MODE          1726
#define IDC_LUX_OUTPUT_1              1727
#define IDC_LUX_OUTPUT_2              1728
#define IDC_LUX_OUTPUT_3              1729
#define IDC_LUX_OUTPUT_4              1730
#define IDC_LUX_OUTPUT_5              1731
#define IDC_LUX_OUTPUT_6              1732
#define IDC_LUX_OUTPUT_7              1733

#define IDC_LAMP_LUX400               1513
#define IDC_LAMP_LASER                1514
#define IDC_LAMP_OK                   1028
#define IDC_LAMP_APPLY_LUX            1029
#define IDC_LAMP_TEST                 1033
