#pragma once
// Driving a modal dialog as a technician would. The script runs inside the
// dialog's own message loop, once the program has opened it; it types,
// presses buttons and finally closes the dialog (a dialog still open after
// the script fails the test and is ended).
//
//     OnNextModalDialog([&](HWND dlg) {
//         TypeText(dlg, 1611, L"2500");
//         PressButton(dlg, 1028);
//     });
//     PressButton(main, IDC_MOTOR);   // returns once the dialog has closed
#include <windows.h>

#include <functional>

using ModalScript = std::function<void(HWND dialog)>;

void OnNextModalDialog(ModalScript script);
// Whether a queued script has run (a test whose button opened nothing
// notices it here).
bool ModalScriptPending();

// While a script runs: whether the dialog has ended itself (its owner is
// enabled again), so that the script stops working it.
bool ModalDialogEnded(HWND dialog);

// Closes a dialog by its close box (WM_CLOSE), as the technician would.
void CloseByCloseBox(HWND dialog);
