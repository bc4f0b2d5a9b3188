#include "win/gtk/key_routing.h"

namespace win::gtk {
namespace {

KeyRoute ToDialogManager(input::Key key) {
    return KeyRoute{KeyRoute::Target::DialogManager, key};
}

}  // namespace

std::optional<KeyRoute> RouteKey(guint keyval, GdkModifierType state, bool focusOnButton) {
    const bool shift = (state & GDK_SHIFT_MASK) != 0;
    const bool control = (state & GDK_CONTROL_MASK) != 0;
    const bool alt = (state & GDK_MOD1_MASK) != 0;

    switch (keyval) {
        case GDK_KEY_Tab:
        case GDK_KEY_KP_Tab:
            if (control || alt) {
                return std::nullopt;
            }
            return ToDialogManager(shift ? input::Key::ShiftTab : input::Key::Tab);
        case GDK_KEY_ISO_Left_Tab:
            if (control || alt) {
                return std::nullopt;
            }
            return ToDialogManager(input::Key::ShiftTab);
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter:
        case GDK_KEY_ISO_Enter:
            if (control || alt) {
                return std::nullopt;
            }
            return ToDialogManager(input::Key::Enter);
        case GDK_KEY_Escape:
            if (control || alt || shift) {
                return std::nullopt;
            }
            return ToDialogManager(input::Key::Escape);
        case GDK_KEY_F4:
            if (alt && !control && !shift) {
                return ToDialogManager(input::Key::AltF4);
            }
            return std::nullopt;
        case GDK_KEY_space:
        case GDK_KEY_KP_Space:
            if (alt && !control && !shift) {
                return KeyRoute{KeyRoute::Target::SystemMenu, input::Key::Space};
            }
            if (focusOnButton && !alt && !control) {
                return ToDialogManager(input::Key::Space);
            }
            return std::nullopt;
        case GDK_KEY_F10:
            // The key a Linux desktop opens a window's context menu with, as the Menu key:
            // Alt+Space belongs to the window manager there.
            if (shift && !alt && !control) {
                return KeyRoute{KeyRoute::Target::SystemMenu, input::Key::Space};
            }
            return std::nullopt;
        case GDK_KEY_Menu:
            if (!alt && !control) {
                return KeyRoute{KeyRoute::Target::SystemMenu, input::Key::Space};
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

}  // namespace win::gtk
