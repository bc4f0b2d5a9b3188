// The GTK widget of one control of a dialog. Subclasses per window class mirror what the model
// tells them and hand the operator's actions to win::input.
#pragma once

#include <gtk/gtk.h>

#include "win/gtk/signal_connections.h"
#include "win/renderer.h"
#include "win/window.h"

namespace win::gtk {

class ControlView {
  public:
    explicit ControlView(HWND handle);
    virtual ~ControlView();
    ControlView(const ControlView&) = delete;
    ControlView& operator=(const ControlView&) = delete;

    HWND Handle() const { return handle_; }
    // The widget placed in the dialog.
    GtkWidget* Outer() const { return outer_; }
    // The widget that takes the keyboard focus for this control.
    virtual GtkWidget* FocusTarget() const { return outer_; }
    // Group boxes are put into the dialog first, so they are drawn below the other controls.
    virtual bool DrawnBelowOthers() const { return false; }
    // The default push button of its dialog.
    virtual bool IsDefaultButton() const { return false; }

    // Puts the widget at its rectangle (pixels, relative to the client area).
    virtual void Place(GtkFixed* fixed, RECT pixels);

    // Mirrors one change of the model; the base handles Enabled and Visible. Callers hold a
    // MirrorScope.
    virtual void Apply(const Window& model, Change change);
    // The model's focus moved here and GTK's focus followed (GTK may have moved a selection).
    virtual void FocusMirrored(const Window& model);
    // Mirrors the whole state, for a new control and after input the model may have refused.
    void ApplyAll(const Window& model);
    // An arrow key that the widget cannot use (Up in an entry, Down past a list's last line)
    // leaves the focus where it is: only Tab and Shift+Tab move it, through the dialog manager.
    void KeepFocusOnArrowKeys();

  protected:
    // The view keeps a reference on its outer widget until it goes.
    void SetOuter(GtkWidget* widget);
    SignalConnections& Signals() { return signals_; }

  private:
    HWND handle_;
    GtkWidget* outer_ = nullptr;
    SignalConnections signals_;
};

// Mirrors the whole model state of `handle` again if it still exists (after input: the model
// may have refused it, or changed it differently).
void ResyncControl(HWND handle);

}  // namespace win::gtk
