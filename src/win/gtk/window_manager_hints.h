// What the window manager is told of a top-level window, from its template's styles: a window
// with an owner is a dialog kept above it, modal while it keeps the owner disabled (so a click on
// the owner leaves the keyboard with it), and the frame offers only the buttons and functions the
// styles give (no minimise or maximise without WS_MINIMIZEBOX or WS_MAXIMIZEBOX, no close box
// when the system menu's Close is greyed).
#pragma once

#include <gtk/gtk.h>

#include "win/window.h"

namespace win::gtk {

// Before the window is realized: its owner (null for none), type and task-bar entry.
void SetOwnerHints(GtkWindow* window, GtkWindow* owner, const Window& model);

// Once the window is realized (its GdkWindow exists), before it is mapped.
void SetFrameHints(GtkWindow* window, const Window& model);

}  // namespace win::gtk
