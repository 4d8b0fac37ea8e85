#pragma once
// The System dialog (IDD_SYSTEM).
#define IDC_SYSTEM_OK                 1028
#define IDC_SYSTEM_CYCLE_TIME         1740
#define IDC_SYSTEM_HEARTBEAT          1741
#define IDC_SYSTEM_STARTUP_DELAY      1742
