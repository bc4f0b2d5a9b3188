// Moving a window with the keyboard, as the system menu's Move does on Windows: the window
// manager takes the arrow keys until Enter or Esc.
#pragma once

#include <gtk/gtk.h>

namespace win::gtk {

// Whether the window manager of the window's display does that on request (_NET_WM_MOVERESIZE on
// X11). A Wayland compositor moves a window only from a pointer press.
bool WindowManagerMovesWithKeyboard(GtkWidget* widget);

void BeginKeyboardMove(GtkWindow* window);

}  // namespace win::gtk
