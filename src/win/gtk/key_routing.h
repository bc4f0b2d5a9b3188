// Which key presses of a dialog go to the model's dialog manager instead of GTK's own handling
// (focus chain, default button, row activation), and which ones open the system menu: Alt+Space,
// Shift+F10 and the Menu key, whatever control has the focus.
#pragma once

#include <gdk/gdk.h>

#include <optional>

#include "win/input.h"

namespace win::gtk {

struct KeyRoute {
    enum class Target { DialogManager, SystemMenu };
    Target target = Target::DialogManager;
    input::Key key = input::Key::Enter;  // for DialogManager
};

// `focusOnButton`: the model's focus is on a push button or a check box (Space clicks it; on
// other controls Space is typed as usual). No route: GTK handles the key as normal.
std::optional<KeyRoute> RouteKey(guint keyval, GdkModifierType state, bool focusOnButton);

}  // namespace win::gtk
