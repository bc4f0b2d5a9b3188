// Building dialogs from templates and running them. UI thread only.
#pragma once

#include "win/detail/window_state.h"
#include "win/dialog.h"

namespace win::detail {

struct DialogKind {
    bool isMessageBox = false;
    bool closeAllowed = true;  // false: no close box, Close greyed, Alt+F4 does nothing
};

// Creates the dialog and its controls, hidden, tells the renderer, sends WM_INITDIALOG and, when
// that returns nonzero, gives the focus to the first tab stop. Returns null when the dialog did
// not survive its initialisation.
HWND CreateAndInitialise(const DialogTemplate& dialogTemplate, HWND owner,
                         WindowProcedure procedure, LPARAM initParam, DialogKind kind = {});

// The modal loop of a created dialog: shows it with its owner disabled, runs the renderer's loop
// until EndDialog, gives the owner its state back, destroys the dialog. -1 when it was destroyed
// without an end code, or when no loop can run.
INT_PTR RunModal(HWND dialog);

// The first visible, enabled control with WS_TABSTOP, or null.
HWND FirstTabStop(const WindowState& dialog);

}  // namespace win::detail
