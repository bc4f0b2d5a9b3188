#include "win/gtk/keyboard_move.h"

#include <gdk/gdkx.h>

namespace win::gtk {

bool WindowManagerMovesWithKeyboard(GtkWidget* widget) {
    GdkScreen* screen = gtk_widget_get_screen(widget);
    return GDK_IS_X11_SCREEN(screen) &&
           gdk_x11_screen_supports_net_wm_hint(screen,
                                               gdk_atom_intern_static_string("_NET_WM_MOVERESIZE"));
}

void BeginKeyboardMove(GtkWindow* window) {
    GdkWindow* gdkWindow = gtk_widget_get_window(GTK_WIDGET(window));
    if (gdkWindow == nullptr || !WindowManagerMovesWithKeyboard(GTK_WIDGET(window))) {
        return;
    }
    // Button 0: the move is the keyboard's. It starts from the window's centre.
    int x = 0;
    int y = 0;
    gdk_window_get_origin(gdkWindow, &x, &y);
    x += gdk_window_get_width(gdkWindow) / 2;
    y += gdk_window_get_height(gdkWindow) / 2;
    gdk_window_begin_move_drag(gdkWindow, 0, x, y, gtk_get_current_event_time());
}

}  // namespace win::gtk
