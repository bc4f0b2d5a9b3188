// The built-in window procedures of the control classes.
#pragma once

#include "win/window.h"
#include "win/window_api.h"

namespace win::detail {

LRESULT ButtonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ListBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT IpAddressProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

WindowProcedure ProcedureOf(WindowClass windowClass);

}  // namespace win::detail
