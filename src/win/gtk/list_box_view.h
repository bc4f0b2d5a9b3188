// View of a single-selection list box: a GtkTreeView with one text column and no header in a
// GtkScrolledWindow with a vertical scroll bar.
//
// Mouse presses on the rows are taken before the tree view sees them, so that GTK neither moves
// the selection on its own when it takes the focus nor turns a double click into a row
// activation: a press is input::ClickLine, the second press of a double click
// input::SecondClickOnLine. Keyboard moves of the selection come through the selection's
// "changed" signal. GTK's selection is set back to the model's after each of them.
#pragma once

#include "win/gtk/control_view.h"

namespace win::gtk {

class ListBoxView final : public ControlView {
  public:
    ListBoxView(HWND handle, const Window& model);
    GtkWidget* FocusTarget() const override { return tree_; }
    void Apply(const Window& model, Change change) override;
    void FocusMirrored(const Window& model) override;

  private:
    void MirrorLines(const Window& model);
    void MirrorSelection(const Window& model, bool scrollToIt);
    int RowAt(double x, double y) const;

    static gboolean OnButtonPress(GtkWidget* tree, GdkEventButton* event, gpointer self);
    static void OnSelectionChanged(GtkTreeSelection* selection, gpointer self);

    GtkListStore* store_;
    GtkWidget* tree_;
};

}  // namespace win::gtk
