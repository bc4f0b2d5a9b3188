#include "win/gtk/edit_menu.h"

#include "win/gtk/label_text.h"

namespace win::gtk {
namespace {

enum class Action { Cut, Copy, Paste, Delete, SelectAll };

struct Item {
    const char16_t* text;
    Action action;
};

// In the order of a Windows edit's menu; a separator stands before 全选.
constexpr Item kItems[] = {
    {u"剪切(&T)", Action::Cut},    {u"复制(&C)", Action::Copy},      {u"粘贴(&P)", Action::Paste},
    {u"删除(&D)", Action::Delete}, {u"全选(&A)", Action::SelectAll},
};

void Run(GtkEntry* entry, Action action) {
    GtkEditable* editable = GTK_EDITABLE(entry);
    switch (action) {
        case Action::Cut:
            gtk_editable_cut_clipboard(editable);
            break;
        case Action::Copy:
            gtk_editable_copy_clipboard(editable);
            break;
        case Action::Paste:
            gtk_editable_paste_clipboard(editable);
            break;
        case Action::Delete:
            gtk_editable_delete_selection(editable);
            break;
        case Action::SelectAll:
            gtk_editable_select_region(editable, 0, -1);
            break;
    }
}

bool Allowed(GtkEntry* entry, Action action) {
    GtkEditable* editable = GTK_EDITABLE(entry);
    const bool selection = gtk_editable_get_selection_bounds(editable, nullptr, nullptr) != FALSE;
    const bool writable = gtk_editable_get_editable(editable) != FALSE;
    // A masked password is neither copied nor cut.
    const bool shown = gtk_entry_get_visibility(entry) != FALSE;
    switch (action) {
        case Action::Cut:
            return selection && writable && shown;
        case Action::Copy:
            return selection && shown;
        case Action::Paste:
            return writable;
        case Action::Delete:
            return selection && writable;
        case Action::SelectAll:
            return gtk_entry_get_text_length(entry) > 0;
    }
    return false;
}

void OnActivate(GtkMenuItem* item, gpointer entry) {
    const auto action =
        static_cast<Action>(GPOINTER_TO_INT(g_object_get_data(G_OBJECT(item), "edit-action")));
    Run(GTK_ENTRY(entry), action);
}

}  // namespace

void FillEditMenu(GtkEntry* entry, GtkWidget* popup) {
    if (!GTK_IS_MENU(popup)) {
        return;
    }
    GList* children = gtk_container_get_children(GTK_CONTAINER(popup));
    for (GList* child = children; child != nullptr; child = child->next) {
        gtk_widget_destroy(GTK_WIDGET(child->data));
    }
    g_list_free(children);

    for (const Item& item : kItems) {
        if (item.action == Action::SelectAll) {
            GtkWidget* separator = gtk_separator_menu_item_new();
            gtk_widget_show(separator);
            gtk_menu_shell_append(GTK_MENU_SHELL(popup), separator);
        }
        GtkWidget* label = gtk_label_new(nullptr);
        gtk_label_set_markup_with_mnemonic(GTK_LABEL(label),
                                           SplitMenuItemText(item.text).mnemonicMarkup.c_str());
        gtk_label_set_xalign(GTK_LABEL(label), 0.0F);
        GtkWidget* menuItem = gtk_menu_item_new();
        gtk_container_add(GTK_CONTAINER(menuItem), label);
        gtk_widget_set_sensitive(menuItem, Allowed(entry, item.action));
        g_object_set_data(G_OBJECT(menuItem), "edit-action",
                          GINT_TO_POINTER(static_cast<int>(item.action)));
        // The menu goes before the entry does; the connection goes with the item.
        g_signal_connect(menuItem, "activate", G_CALLBACK(OnActivate), entry);
        gtk_widget_show_all(menuItem);
        gtk_menu_shell_append(GTK_MENU_SHELL(popup), menuItem);
    }
}

}  // namespace win::gtk
