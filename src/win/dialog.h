// Dialogs from templates, their modal and non-modal runs, and their end.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "win/types.h"
#include "win/window.h"
#include "win/window_api.h"

namespace win {

// One control of a template, in tab order. Rectangles are in dialog units.
struct ControlTemplate {
    int id = -1;  // -1: no id (0xFFFF in the template)
    WindowClass windowClass = WindowClass::Static;
    DWORD style = 0;  // WS_CHILD, WS_VISIBLE, WS_TABSTOP, class styles...
    DWORD exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::u16string text;
    int iconResource = 0;  // an SS_ICON static: the icon resource it shows
};

struct DialogTemplate {
    int resourceId = 0;
    std::u16string caption;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    DialogFont font;
    std::vector<ControlTemplate> controls;
};

// Templates are data registered by resource id (a later registration replaces an earlier one).
// Any thread.
void RegisterDialogTemplate(DialogTemplate dialogTemplate);
std::optional<DialogTemplate> FindDialogTemplate(int resourceId);

// The modal run: creates the dialog and its controls (hidden), sends WM_INITDIALOG (lParam:
// `initParam`) and, when the procedure returns nonzero, gives the focus to the first visible,
// enabled control with WS_TABSTOP; shows the dialog, disables the owner, runs the renderer's
// loop until EndDialog, re-enables the owner, destroys the dialog and returns the end code.
// -1 when it cannot run (no renderer, or not on the UI thread); -1 also when the dialog was
// destroyed without EndDialog, or ended by a quit (win/quit.h), after which none runs any more.
// A null procedure means DefDlgProcW.
INT_PTR DialogBoxIndirectParamW(const DialogTemplate& dialogTemplate, HWND owner,
                                WindowProcedure procedure, LPARAM initParam = 0);

// As the modal run up to and including the show, then returns the dialog at once. The owner is
// not disabled. EndDialog only records the end code (DialogEndCode); the caller destroys it.
HWND CreateDialogIndirectParamW(const DialogTemplate& dialogTemplate, HWND owner,
                                WindowProcedure procedure, LPARAM initParam = 0);

// Ends the dialog's modal loop with `result` (the innermost loop of that dialog).
BOOL EndDialog(HWND dialog, INT_PTR result);
// The end code once EndDialog was called for this dialog; nothing before that.
std::optional<INT_PTR> DialogEndCode(HWND dialog);

}  // namespace win
