// What operator input may reach. UI thread only.
#pragma once

#include "win/detail/window_state.h"

namespace win::detail {

// The window and its top-level window exist, are visible and enabled.
WindowState* AcceptingInput(HWND window);
// A click on a button or box, as the operator's: focus, flip a box, BN_CLICKED.
bool ClickButton(WindowState& button);

}  // namespace win::detail
