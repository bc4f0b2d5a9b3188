#include "win/gtk/window_manager_hints.h"

namespace win::gtk {
namespace {

bool CloseAllowed(const Window& model) {
    for (const MenuItem& item : model.SystemMenu()) {
        if (item.id == SC_CLOSE) {
            return (item.flags & MF_GRAYED) == 0;
        }
    }
    return false;
}

// An owned message box always holds its owner; an owned dialog does while its modal loop runs.
bool HoldsOwner(const Window& model) {
    return model.Owner() != nullptr && (model.IsMessageBox() || model.IsModalRunning());
}

}  // namespace

void SetOwnerHints(GtkWindow* window, GtkWindow* owner, const Window& model) {
    if (owner != nullptr) {
        gtk_window_set_transient_for(window, owner);
        gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
    }
    gtk_window_set_skip_taskbar_hint(window,
                                     owner != nullptr && (model.ExStyle() & WS_EX_APPWINDOW) == 0);
    // Without a close box: client-side title bars (Wayland) leave theirs out too.
    gtk_window_set_deletable(window, CloseAllowed(model) ? TRUE : FALSE);
}

void SetFrameHints(GtkWindow* window, const Window& model) {
    GdkWindow* gdkWindow = gtk_widget_get_window(GTK_WIDGET(window));
    if (gdkWindow == nullptr) {
        return;
    }
    const DWORD style = model.Style();
    int decorations = GDK_DECOR_BORDER;
    int functions = GDK_FUNC_MOVE;
    if ((style & WS_CAPTION) == WS_CAPTION) {
        decorations |= GDK_DECOR_TITLE;
    }
    if (model.HasSystemMenu()) {
        decorations |= GDK_DECOR_MENU;
        if (CloseAllowed(model)) {
            functions |= GDK_FUNC_CLOSE;
        }
        // The minimise and maximise boxes exist only beside a system menu.
        if ((style & WS_MINIMIZEBOX) != 0) {
            decorations |= GDK_DECOR_MINIMIZE;
            functions |= GDK_FUNC_MINIMIZE;
        }
        if ((style & WS_MAXIMIZEBOX) != 0) {
            decorations |= GDK_DECOR_MAXIMIZE;
            functions |= GDK_FUNC_MAXIMIZE;
        }
    }
    if ((style & WS_THICKFRAME) != 0) {
        decorations |= GDK_DECOR_RESIZEH;
        functions |= GDK_FUNC_RESIZE;
    }
    gdk_window_set_decorations(gdkWindow, static_cast<GdkWMDecoration>(decorations));
    gdk_window_set_functions(gdkWindow, static_cast<GdkWMFunction>(functions));
    // Only the hint: the model disables the owner itself, and a GTK grab would also block the
    // boxes without owner, which stay usable while a dialog is open.
    gdk_window_set_modal_hint(gdkWindow, HoldsOwner(model) ? TRUE : FALSE);
}

}  // namespace win::gtk
