// View of an IPv4 address control: one entry that takes digits and dots, up to
// "255.255.255.255". The model reads the dotted text; while the operator types, a half-typed
// address is not replaced by the model's reading of it, and when the focus leaves the entry it
// shows the model's text again.
#pragma once

#include "win/gtk/edit_view.h"

namespace win::gtk {

class IpAddressView final : public EditView {
  public:
    IpAddressView(HWND handle, const Window& model);
    void Apply(const Window& model, Change change) override;

  protected:
    void TextEdited(const std::u16string& text) override;

  private:
    static void OnInsertText(GtkEditable* entry, const gchar* text, gint length, gint* position,
                             gpointer self);
    static gboolean OnFocusOut(GtkWidget* entry, GdkEventFocus* event, gpointer self);

    gulong insertHandler_ = 0;
    bool operatorTyping_ = false;
};

// What of `inserted` an address entry keeps when it is typed into `current`: digits, and dots
// as long as the whole text has at most three.
std::string AcceptedAddressInput(const std::string& current, const std::string& inserted);

}  // namespace win::gtk
