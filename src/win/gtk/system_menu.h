// The window's system menu, which has no counterpart on Linux: a popup menu with the model's
// items (default items and what the dialog appended). Choosing an item sends WM_SYSCOMMAND
// through input::ChooseSystemMenuItem.
#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <vector>

#include "win/window.h"

namespace win::gtk {

class SystemMenu {
  public:
    explicit SystemMenu(HWND topLevel);
    ~SystemMenu();
    SystemMenu(const SystemMenu&) = delete;
    SystemMenu& operator=(const SystemMenu&) = delete;

    // Builds the menu from the model's items and opens it at the pointer (a right click) or
    // at the top-left corner of `anchor` (from the keyboard).
    void PopUp(const Window& model, GtkWidget* anchor, const GdkEvent* trigger, bool atPointer);
    // The open menu, or null.
    GtkWidget* Menu() const { return menu_; }

  private:
    struct Choice {
        HWND topLevel;
        UINT id;
    };
    static void OnActivate(GtkMenuItem* item, gpointer choice);
    void Discard();

    HWND topLevel_;
    GtkWidget* menu_ = nullptr;
    std::vector<std::unique_ptr<Choice>> choices_;
};

}  // namespace win::gtk
