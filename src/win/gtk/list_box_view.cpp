#include "win/gtk/list_box_view.h"

#include <algorithm>

#include "win/gtk/label_text.h"
#include "win/gtk/mirror_scope.h"
#include "win/gtk/model_input.h"
#include "win/input.h"

namespace win::gtk {
namespace {

constexpr int kTextColumn = 0;

int SelectedRow(GtkTreeView* tree) {
    GtkTreeModel* model = nullptr;
    GtkTreeIter iter;
    if (!gtk_tree_selection_get_selected(gtk_tree_view_get_selection(tree), &model, &iter)) {
        return -1;
    }
    GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
    const int row = gtk_tree_path_get_indices(path)[0];
    gtk_tree_path_free(path);
    return row;
}

std::string RowText(GtkTreeModel* model, GtkTreeIter* iter) {
    gchar* text = nullptr;
    gtk_tree_model_get(model, iter, kTextColumn, &text, -1);
    std::string result = text != nullptr ? text : "";
    g_free(text);
    return result;
}

}  // namespace

ListBoxView::ListBoxView(HWND handle, const Window& model)
    : ControlView(handle), store_(gtk_list_store_new(1, G_TYPE_STRING)) {
    tree_ = gtk_tree_view_new_with_model(GTK_TREE_MODEL(store_));
    g_object_unref(store_);  // the tree view holds it
    GtkTreeView* tree = GTK_TREE_VIEW(tree_);
    gtk_tree_view_set_headers_visible(tree, FALSE);
    gtk_tree_view_set_enable_search(tree, FALSE);
    gtk_tree_view_insert_column_with_attributes(tree, -1, "", gtk_cell_renderer_text_new(), "text",
                                                kTextColumn, nullptr);
    gtk_tree_selection_set_mode(gtk_tree_view_get_selection(tree), GTK_SELECTION_SINGLE);
    gtk_widget_show(tree_);

    GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(
        GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_NEVER,
        (model.Style() & WS_VSCROLL) != 0 ? GTK_POLICY_ALWAYS : GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scrolled), GTK_SHADOW_IN);
    gtk_container_add(GTK_CONTAINER(scrolled), tree_);
    SetOuter(scrolled);

    Signals().Connect(tree_, "button-press-event", Callback(&ListBoxView::OnButtonPress), this);
    Signals().Connect(gtk_tree_view_get_selection(tree), "changed",
                      Callback(&ListBoxView::OnSelectionChanged), this);
}

void ListBoxView::Apply(const Window& model, Change change) {
    ControlView::Apply(model, change);
    if (change == Change::Lines) {
        MirrorLines(model);
        MirrorSelection(model, false);
    } else if (change == Change::Selection) {
        MirrorSelection(model, true);
    }
}

void ListBoxView::FocusMirrored(const Window& model) {
    MirrorSelection(model, false);
}

// Lines change one insertion or one reset at a time: only the rows between the common head and
// the common tail of the old and the new lines are replaced, so the view keeps its scroll
// position while lines are added.
void ListBoxView::MirrorLines(const Window& model) {
    GtkTreeModel* rows = GTK_TREE_MODEL(store_);
    const std::vector<std::u16string>& lines = model.Lines();
    std::vector<std::string> wanted;
    wanted.reserve(lines.size());
    for (const auto& line : lines) {
        wanted.push_back(Utf8(line));
    }
    std::vector<std::string> shown;
    GtkTreeIter iter;
    for (gboolean valid = gtk_tree_model_get_iter_first(rows, &iter); valid;
         valid = gtk_tree_model_iter_next(rows, &iter)) {
        shown.push_back(RowText(rows, &iter));
    }

    std::size_t head = 0;
    while (head < shown.size() && head < wanted.size() && shown[head] == wanted[head]) {
        ++head;
    }
    std::size_t tail = 0;
    while (tail < shown.size() - head && tail < wanted.size() - head &&
           shown[shown.size() - 1 - tail] == wanted[wanted.size() - 1 - tail]) {
        ++tail;
    }
    for (std::size_t removed = head; removed < shown.size() - tail; ++removed) {
        if (gtk_tree_model_iter_nth_child(rows, &iter, nullptr, static_cast<gint>(head))) {
            gtk_list_store_remove(store_, &iter);
        }
    }
    for (std::size_t added = head; added < wanted.size() - tail; ++added) {
        gtk_list_store_insert_with_values(store_, nullptr, static_cast<gint>(added), kTextColumn,
                                          wanted[added].c_str(), -1);
    }
}

void ListBoxView::MirrorSelection(const Window& model, bool scrollToIt) {
    GtkTreeView* tree = GTK_TREE_VIEW(tree_);
    GtkTreeSelection* selection = gtk_tree_view_get_selection(tree);
    const int wanted = model.CurrentSelection();
    if (wanted < 0 || wanted >= static_cast<int>(model.Lines().size())) {
        gtk_tree_selection_unselect_all(selection);
        return;
    }
    if (SelectedRow(tree) != wanted) {
        GtkTreePath* path = gtk_tree_path_new_from_indices(wanted, -1);
        if (scrollToIt) {
            // The cursor follows, so arrow keys move on from the selected line.
            gtk_tree_view_set_cursor(tree, path, nullptr, FALSE);
        } else {
            gtk_tree_selection_select_path(selection, path);
        }
        gtk_tree_path_free(path);
    }
}

int ListBoxView::RowAt(double x, double y) const {
    GtkTreePath* path = nullptr;
    if (!gtk_tree_view_get_path_at_pos(GTK_TREE_VIEW(tree_), static_cast<gint>(x),
                                       static_cast<gint>(y), &path, nullptr, nullptr, nullptr)) {
        return -1;
    }
    const int row = gtk_tree_path_get_indices(path)[0];
    gtk_tree_path_free(path);
    return row;
}

gboolean ListBoxView::OnButtonPress(GtkWidget* tree, GdkEventButton* event, gpointer self) {
    auto* view = static_cast<ListBoxView*>(self);
    if (event->window != gtk_tree_view_get_bin_window(GTK_TREE_VIEW(tree))) {
        return FALSE;
    }
    if (event->button != GDK_BUTTON_PRIMARY) {
        return TRUE;
    }
    const HWND handle = view->Handle();
    const int row = view->RowAt(event->x, event->y);
    const GdkEventType type = event->type;
    DeliverToModel([&] {
        if (type == GDK_BUTTON_PRESS) {
            input::SetFocus(handle);
            if (row >= 0 && FindWindow(handle) != nullptr) {
                input::ClickLine(handle, row);
            }
        } else if (type == GDK_2BUTTON_PRESS && row >= 0) {
            input::SecondClickOnLine(handle, row);
        }
        ResyncControl(handle);
    });
    return TRUE;
}

void ListBoxView::OnSelectionChanged(GtkTreeSelection*, gpointer self) {
    if (MirrorScope::Active()) {
        return;
    }
    auto* view = static_cast<ListBoxView*>(self);
    const HWND handle = view->Handle();
    const int row = SelectedRow(GTK_TREE_VIEW(view->tree_));
    DeliverToModel([&] {
        if (row >= 0) {
            input::SelectLine(handle, row);
        }
        ResyncControl(handle);
    });
}

}  // namespace win::gtk
