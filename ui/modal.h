#pragma once
// Modal dialogs (the setup dialogs, the auto-home progress) all open here,
// under the main window, on the program's own templates. They end through
// the dialog kit (CloseDialog), which stops their timer 1.
#include <windows.h>

// DialogBoxParam on the program's module; the dialog's result.
INT_PTR RunModalDialog(HWND owner, int templateId, DLGPROC proc);
