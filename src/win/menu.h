// The system menu of top-level windows with WS_SYSMENU: the items of a Chinese system, then
// what the window appended. Items the window's state or style does not allow are greyed.
#pragma once

#include "win/types.h"

namespace win {

// The window's system menu, or null when it has none. With `revert` the appended items are
// removed and null is returned.
HMENU GetSystemMenu(HWND window, BOOL revert);
// MF_STRING with an id and a text ("&" marks the mnemonic), or MF_SEPARATOR. Adds at the end.
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, const char16_t* text);

}  // namespace win
