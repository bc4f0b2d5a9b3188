#include "win/gtk/edit_view.h"

#include "platform/codepage.h"
#include "win/gtk/label_text.h"
#include "win/gtk/mirror_scope.h"
#include "win/gtk/model_input.h"
#include "win/input.h"

namespace win::gtk {

EditView::EditView(HWND handle, const Window& model) : ControlView(handle) {
    GtkWidget* entry = gtk_entry_new();
    // The template's rectangle decides the width, not a number of characters.
    gtk_entry_set_width_chars(GTK_ENTRY(entry), 0);
    gtk_entry_set_has_frame(GTK_ENTRY(entry), (model.Style() & WS_BORDER) != 0);
    gtk_editable_set_editable(GTK_EDITABLE(entry), !model.ReadOnly());
    SetOuter(entry);
    Signals().Connect(entry, "changed", Callback(&EditView::OnChanged), this);
}

void EditView::Apply(const Window& model, Change change) {
    ControlView::Apply(model, change);
    if (change == Change::Text) {
        // Setting an equal text would only move the cursor while the operator types.
        const std::string text = Utf8(model.Text());
        if (text != gtk_entry_get_text(Entry())) {
            gtk_entry_set_text(Entry(), text.c_str());
        }
    } else if (change == Change::PasswordChar) {
        const char16_t mask = model.PasswordChar();
        if (mask == 0) {
            gtk_entry_set_visibility(Entry(), TRUE);
        } else {
            gtk_entry_set_invisible_char(Entry(), mask);
            gtk_entry_set_visibility(Entry(), FALSE);
        }
    }
}

void EditView::TextEdited(const std::u16string& text) {
    input::SetText(Handle(), text);
}

void EditView::OnChanged(GtkEditable* entry, gpointer self) {
    if (MirrorScope::Active()) {
        return;
    }
    auto* view = static_cast<EditView*>(self);
    const std::u16string text = plat::Utf8ToWide(gtk_entry_get_text(GTK_ENTRY(entry)));
    DeliverToModel([&] { view->TextEdited(text); });
}

}  // namespace win::gtk
