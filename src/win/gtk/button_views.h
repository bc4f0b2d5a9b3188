// Views of the button class: push button (and default push button), automatic check box and
// group box.
#pragma once

#include "win/gtk/control_view.h"

namespace win::gtk {

class PushButtonView final : public ControlView {
  public:
    PushButtonView(HWND handle, const Window& model);
    bool IsDefaultButton() const override { return isDefault_; }
    void Apply(const Window& model, Change change) override;

  private:
    static void OnClicked(GtkButton* button, gpointer self);
    GtkWidget* label_;
    bool isDefault_;
};

// GTK toggles the box itself on a click; the model flips its own state and GTK's is set back
// to the model's afterwards, so the two never differ.
class CheckBoxView final : public ControlView {
  public:
    CheckBoxView(HWND handle, const Window& model);
    void Apply(const Window& model, Change change) override;

  private:
    static void OnToggled(GtkToggleButton* box, gpointer self);
    GtkWidget* label_;
};

class GroupBoxView final : public ControlView {
  public:
    GroupBoxView(HWND handle, const Window& model);
    bool DrawnBelowOthers() const override { return true; }
    void Apply(const Window& model, Change change) override;

  private:
    GtkWidget* label_;
};

}  // namespace win::gtk
