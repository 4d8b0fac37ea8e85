#pragma once
// The SW Fence dialog (IDD_SW_FENCE); its axis radios X, Y, Z are in
// axis_radio_ids.h.
#define IDC_FENCE_OK                  1
#define IDC_FENCE_PLUS                1800
#define IDC_FENCE_MINUS               1801
#define IDC_FENCE_STORED_PLUS         1802
#define IDC_FENCE_STORED_MINUS        1803
#define IDC_FENCE_ENABLED             1804
#define IDC_FENCE_PLUS_CAPTION        1805
#define IDC_FENCE_MINUS_CAPTION       1806
#define IDC_FENCE_STORED_PLUS_CAPTION 1807
#define IDC_FENCE_STORED_MINUS_CAPTION 1808
