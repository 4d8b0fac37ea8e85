#pragma once
// The Copy Settings dialog (IDD_COPY_SETTINGS); its source radios are the
// axis radios of axis_radio_ids.h.
#define IDC_COPY_EXIT                 1028
#define IDC_COPY_COPY                 1750
#define IDC_COPY_TO_X                 1751
#define IDC_COPY_TO_Y                 1752
#define IDC_COPY_TO_Z                 1753
#define IDC_COPY_TO_Q                 1754
#define IDC_COPY_TO_ZOOM              1755
