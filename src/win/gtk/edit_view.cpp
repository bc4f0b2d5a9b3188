#include "win/gtk/edit_view.h"

#include "platform/codepage.h"
#include "win/gtk/edit_menu.h"
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
    // GTK 3 sets its own "read-only" style class the wrong way round (on an entry made editable
    // again), so the look of a read-only edit hangs on a class of ours.
    if (model.ReadOnly()) {
        gtk_style_context_add_class(gtk_widget_get_style_context(entry), kReadOnlyEditClass);
    }
    SetOuter(entry);
    Signals().Connect(entry, "changed", Callback(&EditView::OnChanged), this);
    Signals().Connect(entry, "focus-out-event", Callback(&EditView::OnFocusOut), this);
    Signals().Connect(entry, "populate-popup", Callback(&EditView::OnPopulatePopup), nullptr);
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

namespace {

gboolean DropSelectionUnlessFocused(gpointer entry) {
    GtkWidget* widget = GTK_WIDGET(entry);
    // An entry whose dialog has gone meanwhile is in no window any more.
    const bool inWindow = gtk_widget_is_toplevel(gtk_widget_get_toplevel(widget)) != FALSE;
    if (inWindow && !gtk_widget_is_focus(widget)) {
        const gint cursor = gtk_editable_get_position(GTK_EDITABLE(widget));
        gtk_editable_select_region(GTK_EDITABLE(widget), cursor, cursor);
    }
    return G_SOURCE_REMOVE;
}

}  // namespace

gboolean EditView::OnFocusOut(GtkWidget* entry, GdkEventFocus*, gpointer) {
    // Once the focus has gone on to another control, the edit shows no selection, as on
    // Windows (GTK would go on showing it; Tab into it selects the whole text again). Looked at
    // when the change is complete: a menu that takes the keyboard for a moment, such as the
    // edit's own context menu whose "复制" needs the selection, leaves the entry the focus
    // widget of its window.
    g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, &DropSelectionUnlessFocused, g_object_ref(entry),
                    g_object_unref);
    return FALSE;
}

void EditView::OnPopulatePopup(GtkEntry* entry, GtkWidget* popup, gpointer) {
    FillEditMenu(entry, popup);
}

}  // namespace win::gtk
