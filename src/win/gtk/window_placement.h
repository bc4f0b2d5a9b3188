// Puts a top-level window where its placement rule (win/window.h) says, as the window manager
// frames it. Only on X11: a Wayland client cannot place its windows, and the compositor places a
// transient dialog over its parent by itself.
#pragma once

#include <gtk/gtk.h>

#include "win/gtk/placement_geometry.h"
#include "win/window.h"

namespace win::gtk {

struct PlacementRequest {
    Placement rule = Placement::TemplatePosition;
    ScreenPoint templatePosition;  // in pixels
    int clientWidth = 0;
    int clientHeight = 0;
    GtkWindow* owner = nullptr;  // null without owner
    bool ownerShown = false;     // the owner is on the screen and not minimised
};

void PlaceOnScreen(GtkWindow* window, const PlacementRequest& request);

}  // namespace win::gtk
