// Windows and messages: the calls the tool and the class library make on windows.
//
// Every call may be made on any thread: on another thread than the UI thread it is carried out
// on the UI thread while the caller waits (see win/ui_thread.h); when that call is dropped
// because the calling thread is being ended, it returns the value for "no window" (0, null or
// FALSE). Calls on a handle whose window no longer exists do nothing and return that value too.
#pragma once

#include <functional>
#include <string>

#include "win/types.h"

namespace win {

// A window's procedure gets every message sent to the window. What it does not handle it hands
// to the procedure it replaced (CallWindowProcW) or to the default handling.
using WindowProcedure = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Installs `procedure` as the window's procedure and returns the one it replaces (empty when
// there is no such window).
WindowProcedure SubclassWindow(HWND window, WindowProcedure procedure);
LRESULT CallWindowProcW(const WindowProcedure& procedure, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam);

// Default handling of every window (texts, icons, system commands, painting) and of dialogs
// (WM_CLOSE becomes WM_COMMAND IDCANCEL, WM_INITDIALOG asks for the default focus).
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefDlgProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

BOOL IsWindow(HWND window);
BOOL SetWindowTextW(HWND window, const char16_t* text);  // WM_SETTEXT
// WM_GETTEXT: copies at most maxCount - 1 units and a terminator; returns the units copied.
int GetWindowTextW(HWND window, char16_t* buffer, int maxCount);
int GetWindowTextLengthW(HWND window);
std::u16string GetWindowTextString(HWND window);  // the whole text, through WM_GETTEXT

// Returns nonzero when the window was disabled before. Sends WM_ENABLE when the state changes.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);  // its own state
// Gives a control the keyboard focus of its dialog; returns the control that had it.
HWND SetFocus(HWND control);
HWND GetFocusOf(HWND topLevel);  // the control with the focus of that dialog, or null
// SW_HIDE, SW_SHOW, SW_SHOWNORMAL, SW_MINIMIZE, SW_RESTORE. Nonzero when it was visible.
BOOL ShowWindow(HWND window, int command);
BOOL IsWindowVisible(HWND window);
// Destroys a dialog with its controls (and first the windows it owns), sending WM_DESTROY and
// WM_NCDESTROY. A handle never comes back.
BOOL DestroyWindow(HWND window);
BOOL IsIconic(HWND window);
// GWL_STYLE and GWL_EXSTYLE: the window's styles as its template gave them. 0 for other indexes.
DWORD GetWindowLongW(HWND window, int index);
// A top-level window is placed centred over its owner (on the work area when it has none, or
// while the owner is hidden or minimised), within the work area; a window already on the screen
// is moved there at once.
BOOL CenterWindowOverOwner(HWND window);

HWND GetDlgItem(HWND dialog, int id);  // the first control with that id
int GetDlgCtrlID(HWND control);
HWND GetParent(HWND window);  // controls: their dialog; top-level windows: their owner

// The client area in pixels, through the renderer's dialog-unit conversion: {0, 0, cx, cy}.
BOOL GetClientRect(HWND window, RECT* rect);
// SM_CXICON and SM_CYICON: 32. Other indexes: 0.
int GetSystemMetrics(int index);
// Sends WM_PAINT to the window at once (renderers call it when they draw the window).
BOOL UpdateWindow(HWND window);

}  // namespace win
