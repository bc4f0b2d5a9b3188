// View of a single-line edit (read-only and password edits included) as a GtkEntry.
#pragma once

#include <string>

#include "win/gtk/control_view.h"

namespace win::gtk {

// The style class of a read-only edit (ES_READONLY).
inline constexpr const char* kReadOnlyEditClass = "dialog-read-only";

class EditView : public ControlView {
  public:
    EditView(HWND handle, const Window& model);
    void Apply(const Window& model, Change change) override;

  protected:
    GtkEntry* Entry() const { return GTK_ENTRY(Outer()); }
    // The operator changed the entry's text.
    virtual void TextEdited(const std::u16string& text);

  private:
    static void OnChanged(GtkEditable* entry, gpointer self);
    static gboolean OnFocusOut(GtkWidget* entry, GdkEventFocus* event, gpointer self);
    static void OnPopulatePopup(GtkEntry* entry, GtkWidget* popup, gpointer);
};

}  // namespace win::gtk
