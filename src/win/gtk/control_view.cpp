#include "win/gtk/control_view.h"

#include "win/gtk/mirror_scope.h"
#include "win/gtk/view_registry.h"

namespace win::gtk {

ControlView::ControlView(HWND handle) : handle_(handle) {}

ControlView::~ControlView() {
    signals_.DisconnectAll();
    if (outer_ != nullptr) {
        g_object_unref(outer_);
    }
}

void ControlView::SetOuter(GtkWidget* widget) {
    outer_ = widget;
    g_object_ref_sink(outer_);
}

void ControlView::Place(GtkFixed* fixed, RECT pixels) {
    gtk_widget_set_size_request(outer_, pixels.right - pixels.left, pixels.bottom - pixels.top);
    gtk_fixed_put(fixed, outer_, pixels.left, pixels.top);
}

void ControlView::Apply(const Window& model, Change change) {
    switch (change) {
        case Change::Enabled:
            gtk_widget_set_sensitive(outer_, model.Enabled());
            break;
        case Change::Visible:
            gtk_widget_set_visible(outer_, model.Visible());
            break;
        default:
            break;
    }
}

void ControlView::FocusMirrored(const Window&) {}

namespace {

gboolean KeepFocus(GtkWidget*, GtkDirectionType, gpointer) {
    return TRUE;  // handled: GTK moves no focus to a neighbour
}

}  // namespace

void ControlView::KeepFocusOnArrowKeys() {
    Signals().Connect(FocusTarget(), "keynav-failed", Callback(&KeepFocus), nullptr);
}

void ControlView::ApplyAll(const Window& model) {
    for (Change change : {Change::Text, Change::Enabled, Change::Visible, Change::Check,
                          Change::PasswordChar, Change::Lines, Change::Selection, Change::Icon}) {
        Apply(model, change);
    }
}

void ResyncControl(HWND handle) {
    ControlView* view = FindControlView(handle);
    const Window* model = FindWindow(handle);
    if (view != nullptr && model != nullptr) {
        MirrorScope mirror;
        view->ApplyAll(*model);
    }
}

}  // namespace win::gtk
