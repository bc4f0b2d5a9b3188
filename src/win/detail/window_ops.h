// State changes shared by the procedures, the public calls and operator input. Each one tells
// the renderer. UI thread only.
#pragma once

#include <string>

#include "win/detail/window_state.h"

namespace win::detail {

std::u16string TextFromParam(LPARAM text);  // a null pointer gives the empty text
// WM_GETTEXT: at most maxCount - 1 units and a terminator into `buffer`; the units copied.
LRESULT CopyTextOut(const std::u16string& text, WPARAM maxCount, LPARAM buffer);

void SetText(WindowState& window, std::u16string text);
void SetEnabled(WindowState& window, bool enabled);  // also sends WM_ENABLE
void SetVisible(WindowState& window, bool visible);
void SetIconic(WindowState& topLevel, bool iconic);
void SetFocusControl(WindowState& topLevel, HWND control);
void SetCheck(WindowState& button, int check);
void SetSelection(WindowState& listBox, int index);

// WM_COMMAND (id, code) from `control` (may be null) to `dialog`.
void SendCommand(HWND dialog, int id, UINT code, HWND control);
// The first control of the dialog with that id, or null.
WindowState* ControlById(const WindowState& dialog, int id);

// Open owned windows keep their owner disabled; the owner gets its state back when the last goes.
void HoldOwner(HWND owner);
void ReleaseOwner(HWND owner);

}  // namespace win::detail
