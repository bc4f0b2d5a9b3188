// The GtkWindow of one top-level window of the model (a dialog or a message box): not
// resizable, its client area a GtkFixed of the dialog's size with the controls at their
// template rectangles, titled with the caption, placed by the model's placement rule, and known
// to the window manager as its template's styles and its owner say (window_manager_hints.h).
#pragma once

#include <gtk/gtk.h>

#include <map>
#include <memory>
#include <vector>

#include "win/gtk/control_view.h"
#include "win/gtk/dialog_units.h"
#include "win/gtk/signal_connections.h"
#include "win/gtk/system_menu.h"
#include "win/renderer.h"
#include "win/window.h"

namespace win::gtk {

class TopLevelView {
  public:
    TopLevelView(HWND handle, const Window& model);
    ~TopLevelView();
    TopLevelView(const TopLevelView&) = delete;
    TopLevelView& operator=(const TopLevelView&) = delete;

    HWND Handle() const { return handle_; }
    GtkWindow* Gtk() const { return GTK_WINDOW(window_); }

    // A change of the window itself. Callers hold a MirrorScope.
    void Apply(const Window& model, Change change);
    // A change of one of its controls has been mirrored: GTK drops the focus and the default
    // button of widgets that become insensitive or hidden, so they are set again.
    void ControlChanged(Change change);

    void AddControl(HWND control);
    void RemoveControl(HWND control);

  private:
    void Place(const Window& model);
    void PutControl(ControlView& view, const Window& control);
    void MirrorFocus();
    void MirrorDefaultButton();
    void MirrorIcons(const Window& model);
    HWND ControlOfWidget(GtkWidget* widget) const;

    static gboolean OnDelete(GtkWidget* window, GdkEvent* event, gpointer self);
    static gboolean OnKeyPress(GtkWidget* window, GdkEventKey* event, gpointer self);
    static gboolean OnButtonPress(GtkWidget* window, GdkEventButton* event, gpointer self);
    static gboolean OnWindowState(GtkWidget* window, GdkEventWindowState* event, gpointer self);
    static void OnSetFocus(GtkWindow* window, GtkWidget* widget, gpointer self);
    static void OnMoveFocus(GtkWindow* window, GtkDirectionType direction, gpointer self);
    static gboolean OnDrawBackground(GtkWidget* fixed, cairo_t* cr, gpointer self);

    HWND handle_;
    BaseUnits base_;
    GtkWidget* window_;
    GtkWidget* inputShield_;  // a GtkEventBox around fixed_
    GtkWidget* fixed_;
    std::vector<std::unique_ptr<ControlView>> controls_;
    std::map<GtkWidget*, HWND> focusWidgets_;
    SystemMenu systemMenu_;
    SignalConnections signals_;
    bool placed_ = false;
};

}  // namespace win::gtk
