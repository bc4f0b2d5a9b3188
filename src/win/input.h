// Operator input. Renderers (and the scripted operator of the tests) call these on the UI
// thread; each one does what the operator's action does on a Windows dialog and sends the same
// messages and notifications. Input to a window that is disabled, or whose top-level window is
// disabled, is ignored (returns false).
#pragma once

#include <string>

#include "win/types.h"

namespace win::input {

enum class Key { Enter, Escape, Tab, ShiftTab, AltF4, Space };

// A mouse click on a push button (BN_CLICKED to the parent) or a check box (the state flips,
// then BN_CLICKED). The control takes the focus first, as a click gives it.
bool Click(HWND control);

// The operator's edit of an edit or address control: its whole text becomes `text` (an
// address control keeps what it can show of it). No notification, as the tool listens to none.
bool SetText(HWND control, const std::u16string& text);

// The operator moves the selection of a list box to line `index` (with the keyboard):
// LBN_SELCHANGE when the selection changed and the box has LBS_NOTIFY.
bool SelectLine(HWND listBox, int index);
// A mouse click on line `index`: it selects the line and, as on Windows, notifies
// LBN_SELCHANGE even when the line was selected already, so a click on the selected line
// fills the panel from its device again.
bool ClickLine(HWND listBox, int index);
// The second click of a double click on line `index`, which the first click selected:
// LBN_DBLCLK alone.
bool SecondClickOnLine(HWND listBox, int index);
// A whole double click: the first click, then the second.
bool DoubleClickLine(HWND listBox, int index);

// Moves the keyboard focus (a click into an edit or list does this).
bool SetFocus(HWND control);

// A key pressed in a top-level window, through the dialog manager: Tab / Shift+Tab move the
// focus along the tab stops in template order; Enter clicks the focused push button, otherwise
// sends WM_COMMAND with the default id (the default push button's id, else IDOK); Escape sends
// IDCANCEL; Alt+F4 sends WM_SYSCOMMAND SC_CLOSE; Space clicks the focused button or box.
bool PressKey(HWND topLevel, Key key);

// The close box of the caption: WM_SYSCOMMAND SC_CLOSE.
bool CloseBox(HWND topLevel);

// An item of the system menu chosen: WM_SYSCOMMAND with its id.
bool ChooseSystemMenuItem(HWND topLevel, UINT id);

}  // namespace win::input
