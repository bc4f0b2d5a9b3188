#include "win/gtk/system_menu.h"

#include "win/gtk/keyboard_move.h"
#include "win/gtk/label_text.h"
#include "win/gtk/model_input.h"
#include "win/gtk/signal_connections.h"
#include "win/input.h"

namespace win::gtk {
namespace {

constexpr int kAcceleratorGap = 24;  // pixels between an item's label and its accelerator text

GtkWidget* NewItem(const MenuItem& item, bool canMove) {
    if ((item.flags & MF_SEPARATOR) != 0) {
        return gtk_separator_menu_item_new();
    }
    const MenuItemText text = SplitMenuItemText(item.text);
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, kAcceleratorGap);
    GtkWidget* label = gtk_label_new(nullptr);
    gtk_label_set_markup_with_mnemonic(GTK_LABEL(label), text.mnemonicMarkup.c_str());
    gtk_label_set_xalign(GTK_LABEL(label), 0.0F);
    gtk_widget_set_hexpand(label, TRUE);
    gtk_box_pack_start(GTK_BOX(row), label, TRUE, TRUE, 0);
    if (!text.accelerator.empty()) {
        GtkWidget* accelerator = gtk_label_new(text.accelerator.c_str());
        gtk_label_set_xalign(GTK_LABEL(accelerator), 1.0F);
        gtk_style_context_add_class(gtk_widget_get_style_context(accelerator), "accelerator");
        gtk_box_pack_end(GTK_BOX(row), accelerator, FALSE, FALSE, 0);
    }
    GtkWidget* menuItem = gtk_menu_item_new();
    gtk_container_add(GTK_CONTAINER(menuItem), row);
    // Move is the window manager's to carry out: greyed where it cannot.
    const bool enabled = (item.flags & MF_GRAYED) == 0 && (item.id != SC_MOVE || canMove);
    gtk_widget_set_sensitive(menuItem, enabled ? TRUE : FALSE);
    return menuItem;
}

}  // namespace

SystemMenu::SystemMenu(HWND topLevel) : topLevel_(topLevel) {}

SystemMenu::~SystemMenu() {
    Discard();
}

void SystemMenu::Discard() {
    if (menu_ != nullptr) {
        gtk_widget_destroy(menu_);
        g_object_unref(menu_);
        menu_ = nullptr;
    }
    choices_.clear();
}

void SystemMenu::PopUp(const Window& model, GtkWidget* anchor, const GdkEvent* trigger,
                       bool atPointer) {
    Discard();
    menu_ = gtk_menu_new();
    g_object_ref_sink(menu_);
    const bool canMove = WindowManagerMovesWithKeyboard(anchor);
    for (const MenuItem& item : model.SystemMenu()) {
        GtkWidget* menuItem = NewItem(item, canMove);
        if ((item.flags & MF_SEPARATOR) == 0) {
            choices_.push_back(std::make_unique<Choice>(Choice{topLevel_, item.id}));
            // The menu owns the connection: it goes with the menu, before the choice does.
            g_signal_connect_data(menuItem, "activate", Callback(&SystemMenu::OnActivate),
                                  choices_.back().get(), nullptr, GConnectFlags{});
        }
        gtk_menu_shell_append(GTK_MENU_SHELL(menu_), menuItem);
    }
    gtk_widget_show_all(menu_);
    if (atPointer) {
        gtk_menu_popup_at_pointer(GTK_MENU(menu_), trigger);
    } else {
        gtk_menu_popup_at_widget(GTK_MENU(menu_), anchor, GDK_GRAVITY_NORTH_WEST,
                                 GDK_GRAVITY_NORTH_WEST, trigger);
    }
}

void SystemMenu::OnActivate(GtkMenuItem*, gpointer choice) {
    // Copied first: the command may open a dialog whose menu replaces this one.
    const Choice chosen = *static_cast<Choice*>(choice);
    DeliverToModel([&] { input::ChooseSystemMenuItem(chosen.topLevel, chosen.id); });
}

}  // namespace win::gtk
