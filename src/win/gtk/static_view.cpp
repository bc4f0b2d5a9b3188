#include "win/gtk/static_view.h"

#include "win/gtk/icon_pixbuf.h"
#include "win/gtk/label_text.h"

namespace win::gtk {

StaticTextView::StaticTextView(HWND handle, const Window& model)
    : ControlView(handle), prefix_((model.Style() & SS_NOPREFIX) == 0) {
    GtkWidget* label = gtk_label_new(nullptr);
    gtk_label_set_xalign(GTK_LABEL(label), 0.0F);
    gtk_label_set_yalign(GTK_LABEL(label), 0.0F);
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_line_wrap_mode(GTK_LABEL(label), PANGO_WRAP_WORD_CHAR);
    gtk_widget_set_valign(label, GTK_ALIGN_START);
    gtk_widget_set_halign(label, GTK_ALIGN_FILL);
    SetOuter(label);
}

void StaticTextView::Apply(const Window& model, Change change) {
    ControlView::Apply(model, change);
    if (change == Change::Text) {
        gtk_label_set_markup(GTK_LABEL(Outer()), LabelMarkup(model.Text(), prefix_).c_str());
    }
}

StaticIconView::StaticIconView(HWND handle, const Window&) : ControlView(handle) {
    SetOuter(gtk_image_new());
}

void StaticIconView::Place(GtkFixed* fixed, RECT pixels) {
    gtk_fixed_put(fixed, Outer(), pixels.left, pixels.top);
}

void StaticIconView::Apply(const Window& model, Change change) {
    ControlView::Apply(model, change);
    if (change == Change::Icon) {
        GdkPixbuf* pixbuf = PixbufFromIcon(model.StaticIcon());
        gtk_image_set_from_pixbuf(GTK_IMAGE(Outer()), pixbuf);
        if (pixbuf != nullptr) {
            g_object_unref(pixbuf);
        }
    }
}

}  // namespace win::gtk
