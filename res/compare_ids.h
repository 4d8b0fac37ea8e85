#pragma once
// IDD_COMPARE: two sources of parameters and record items side by side.
#define IDD_COMPARE              142

#define IDC_CMP_LEFT_KIND        2410
#define IDC_CMP_LEFT_DETAIL      2411
#define IDC_CMP_LEFT_FILE        2412
#define IDC_CMP_RIGHT_KIND       2413
#define IDC_CMP_RIGHT_DETAIL     2414
#define IDC_CMP_RIGHT_FILE       2415
#define IDC_CMP_ALL              2416
#define IDC_CMP_LIST             2417
#define IDC_CMP_SUMMARY          2418
#define IDC_CMP_WRITE            2419
#define IDC_CMP_EXPORT           2420
