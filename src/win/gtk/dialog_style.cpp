#include "win/gtk/dialog_style.h"

#include <gtk/gtk.h>

#include <string>

#include "win/gtk/dialog_font.h"
#include "win/gtk/edit_view.h"

namespace win::gtk {
namespace {

// Template rectangles are smaller than GTK's theme minimums (a 14-unit edit is 26 pixels
// high), so the theme's minimum sizes and most padding go; the widgets keep their look.
std::string StyleSheet() {
    std::string css = "* { font-family: \"";
    css += kChineseDialogFamily;
    css += "\"; font-size: 9pt; }\n";
    css +=
        "button { min-height: 0; min-width: 0; padding: 0 4px; }\n"
        "entry { min-height: 0; min-width: 0; padding: 0 3px; }\n"
        "checkbutton { min-height: 0; padding: 0; }\n"
        "checkbutton check { min-height: 13px; min-width: 13px; margin: 0 4px 0 0; }\n"
        "scrollbar slider { min-width: 6px; }\n"
        "treeview { padding: 0; }\n";
    // A read-only edit shows the dialog's ground, as on Windows.
    css += std::string("entry.") + kReadOnlyEditClass + " { background-color: @theme_bg_color; }\n";
    return css;
}

}  // namespace

void InstallDialogStyle() {
    static GtkCssProvider* provider = nullptr;
    if (provider != nullptr) {
        return;
    }
    provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, StyleSheet().c_str(), -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(),
                                              GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

}  // namespace win::gtk
