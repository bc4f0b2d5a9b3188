#include "win/gtk/gtk_renderer.h"

#include <gtk/gtk.h>

#include <cstdio>
#include <map>

#include "win/gtk/control_view.h"
#include "win/gtk/dialog_font.h"
#include "win/gtk/dialog_style.h"
#include "win/gtk/dialog_units.h"
#include "win/gtk/end_signals.h"
#include "win/gtk/keyboard_move.h"
#include "win/gtk/mirror_scope.h"
#include "win/gtk/top_level_view.h"
#include "win/gtk/view_registry.h"
#include "win/ui_thread.h"
#include "win/window.h"

namespace win::gtk {
namespace {

class GtkRenderer final : public Renderer {
  public:
    ~GtkRenderer() override { windows_.clear(); }

    void WindowChanged(HWND window, Change change) override {
        const Window* model = FindWindow(window);
        if (change == Change::Destroyed) {
            Forget(window, model);
            return;
        }
        if (model == nullptr) {
            return;
        }
        if (change == Change::Created) {
            Create(window, *model);
            return;
        }
        MirrorScope mirror;
        if (TopLevelView* top = FindTopLevelView(window)) {
            top->Apply(*model, change);
        } else if (ControlView* control = FindControlView(window)) {
            control->Apply(*model, change);
            if (TopLevelView* dialog = FindTopLevelView(model->Parent())) {
                dialog->ControlChanged(change);
            }
        }
    }

    void RunUntil(const std::function<bool()>& done) override {
        for (;;) {
            RunQueuedCalls();
            if (done()) {
                break;
            }
            g_main_context_iteration(nullptr, TRUE);
        }
    }

    // Thread-safe: a loop blocked in g_main_context_iteration returns, and one that is not
    // blocked yet does not block on its next iteration.
    void Wake() override { g_main_context_wakeup(nullptr); }

    void MoveWithKeyboard(HWND topLevel) override {
        if (TopLevelView* view = FindTopLevelView(topLevel)) {
            BeginKeyboardMove(view->Gtk());
        }
    }

    RECT DialogUnitsToPixels(HWND dialog, RECT dialogUnits) override {
        const Window* model = FindWindow(dialog);
        return MapDialogRect(dialogUnits,
                             MeasureBaseUnits(model != nullptr ? model->Font() : DialogFont{}));
    }

  private:
    void Create(HWND window, const Window& model) {
        if (model.Parent() == nullptr) {
            windows_[window] = std::make_unique<TopLevelView>(window, model);
        } else if (TopLevelView* dialog = FindTopLevelView(model.Parent())) {
            dialog->AddControl(window);
        }
    }

    void Forget(HWND window, const Window* model) {
        if (windows_.erase(window) > 0) {
            // Requests to the display wait in a buffer until the loop runs again; a program that
            // ends after its last window may first wait seconds for the network.
            gdk_display_flush(gdk_display_get_default());
            return;
        }
        if (model != nullptr) {
            if (TopLevelView* dialog = FindTopLevelView(model->Parent())) {
                dialog->RemoveControl(window);
            }
        }
    }

    std::map<HWND, std::unique_ptr<TopLevelView>> windows_;
    EndSignals endSignals_;
};

}  // namespace

std::unique_ptr<Renderer> CreateRenderer(int& argc, char**& argv) {
    if (!gtk_init_check(&argc, &argv)) {
        std::fputs("quorvel: cannot open display\n", stderr);
        std::fflush(stderr);
        return nullptr;
    }
    InstallDialogStyle();
    return std::make_unique<GtkRenderer>();
}

}  // namespace win::gtk
