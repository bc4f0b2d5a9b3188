// View of a static control: text as a GtkLabel (left, top-aligned, wrapping in its rectangle),
// or an icon (SS_ICON) as a GtkImage in the icon's own size.
#pragma once

#include "win/gtk/control_view.h"

namespace win::gtk {

class StaticTextView final : public ControlView {
  public:
    StaticTextView(HWND handle, const Window& model);
    void Apply(const Window& model, Change change) override;

  private:
    bool prefix_;
};

class StaticIconView final : public ControlView {
  public:
    StaticIconView(HWND handle, const Window& model);
    // Windows sizes an icon static to its icon.
    void Place(GtkFixed* fixed, RECT pixels) override;
    void Apply(const Window& model, Change change) override;
};

}  // namespace win::gtk
