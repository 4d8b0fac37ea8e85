#pragma once
// Modal dialogs (Encoder, User Parameters, the auto-home progress...) go
// through one wrapper, so that a test can work a dialog as a technician
// would while it is open: type, press buttons, let the timers run.
#include <windows.h>

#include <functional>

// DialogBoxParam on the program's module; the dialog's result.
INT_PTR RunModalDialog(HWND owner, int templateId, DLGPROC proc);
// Ends a dialog started by RunModalDialog (EndDialog for a real one).
void EndModalDialog(HWND dialog, INT_PTR result);

// Test hook: instead of a modal loop, the dialog is created, the visitor
// drives it, and the dialog is destroyed when the visitor returns (the
// result is -1 when the dialog did not end itself). An empty function
// restores the real modal loop.
using ModalDialogVisitor = std::function<void(HWND dialog)>;
void InstallModalDialogVisitor(ModalDialogVisitor visitor);
// While a visitor drives a dialog: whether it has ended itself.
bool ModalDialogEnded(HWND dialog);
