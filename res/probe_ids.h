#pragma once
// The Touch Probe dialog (IDD_TOUCH_PROBE).

// P023, bits 0..6.
#define IDC_TP_INVERT_TRIG_1          1213
#define IDC_TP_INVERT_TRIG_2          1220
#define IDC_TP_INVERT_TRIG_3          1224
#define IDC_TP_INVERT_TRIG_4          1228
#define IDC_TP_HIGH_ACTIVE            1232
#define IDC_TP_LED_ACTIVE             1235
#define IDC_TP_DISABLED               1668

#define IDC_TP_DEBOUNCE               1247
#define IDC_TP_RETRACT_DISTANCE       1243
#define IDC_TP_RETRACT_VELOCITY       1683
#define IDC_TP_DECEL_TIME             1684

// The probe type flags.
#define IDC_TP_TP200                  1671
#define IDC_TP_PDAMP                  1672
#define IDC_TP_PPOFF                  1675

#define IDC_TP_DEFLECTION             1674
#define IDC_TP_DEFLECTION_SOURCE      1682
#define IDC_TP_OK                     1663

// Tester mode only.
#define IDC_TP_DISABLE                1665
#define IDC_TP_ENABLE                 1666
#define IDC_TP_LATCH_STATUS           1670
#define IDC_TP_LATCH_CAPTION          1669
#define IDC_TP_LOG                    1679
#define IDC_TP_ACTIVE                 1678
#define IDC_TP_RETRACTING             1676
#define IDC_TP_RETRACT_ERROR          1677
#define IDC_TP_TEST_GROUP             1681
