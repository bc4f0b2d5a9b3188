// Message boxes: dialogs built from a generated template with the text, and the buttons
// "确定" (MB_OK) or "是" / "否" (MB_YESNO); the first button is the default one and has the focus.
//
// On the UI thread a box is modal to its owner (disabled meanwhile), or to nothing, and runs a
// nested loop. On another thread the box is made on the UI thread as a window without a loop of
// its own (the UI thread goes on with what it was doing; its owner is disabled while it is
// open) and the caller waits for the answer; when the calling thread is being ended the box is
// taken off the screen and the call returns 0 at once. Esc and the close box answer IDOK on an
// MB_OK box and do nothing on an MB_YESNO box. Once a quit is posted (win/quit.h) an open box
// with a loop closes and returns 0, and none opens any more: 0 at once.
#pragma once

#include <string>

#include "win/types.h"

namespace win {

// A null caption shows the application's name.
int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT type);
// Texts in code page 936.
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);

// The application's name, the caption of boxes shown without one. Until it is set: "错误", as
// the system's own boxes without caption show. Any thread.
void SetApplicationName(const std::u16string& name);
std::u16string ApplicationName();

}  // namespace win
