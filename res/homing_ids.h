#pragma once
// The auto-home progress dialog (IDD_AUTO_HOME_PROGRESS).
#define IDC_AUTO_HOME_AXES            1496
// Its one button, "Cancel", carries the dialog's default id.
#define IDC_AUTO_HOME_CANCEL          1
