#include "win/gtk/top_level_view.h"

#include "win/gtk/control_factory.h"
#include "win/gtk/dialog_font.h"
#include "win/gtk/icon_pixbuf.h"
#include "win/gtk/key_routing.h"
#include "win/gtk/label_text.h"
#include "win/gtk/mirror_scope.h"
#include "win/gtk/model_input.h"
#include "win/gtk/view_registry.h"
#include "win/gtk/window_manager_hints.h"
#include "win/gtk/window_placement.h"
#include "win/input.h"
#include "win/window_api.h"

namespace win::gtk {

TopLevelView::TopLevelView(HWND handle, const Window& model)
    : handle_(handle),
      base_(MeasureBaseUnits(model.Font())),
      window_(gtk_window_new(GTK_WINDOW_TOPLEVEL)),
      inputShield_(gtk_event_box_new()),
      fixed_(gtk_fixed_new()),
      systemMenu_(handle) {
    g_object_ref(window_);
    RegisterTopLevelView(handle_, this);

    GtkWindow* window = Gtk();
    gtk_window_set_resizable(window, FALSE);
    TopLevelView* owner = FindTopLevelView(model.Owner());
    SetOwnerHints(window, owner != nullptr ? owner->Gtk() : nullptr, model);
    gtk_widget_add_events(window_, GDK_BUTTON_PRESS_MASK | GDK_STRUCTURE_MASK);

    const RECT rect = model.RectDialogUnits();
    const RECT client =
        MapDialogRect(RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top}, base_);
    gtk_widget_set_size_request(fixed_, client.right, client.bottom);
    // A window that the model disables (the owner of an open modal dialog or box) takes no
    // input but keeps its look, as on Windows: instead of greying it out, the shield's input
    // window is raised above the controls and takes every click and scroll.
    gtk_event_box_set_visible_window(GTK_EVENT_BOX(inputShield_), FALSE);
    gtk_widget_add_events(inputShield_, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                            GDK_SCROLL_MASK | GDK_SMOOTH_SCROLL_MASK);
    gtk_container_add(GTK_CONTAINER(inputShield_), fixed_);
    gtk_container_add(GTK_CONTAINER(window_), inputShield_);
    gtk_widget_show(fixed_);
    gtk_widget_show(inputShield_);

    // Group boxes first, so they are drawn below the controls they enclose.
    std::vector<HWND> children = model.Children();
    for (bool groupBoxes : {true, false}) {
        for (HWND child : children) {
            const Window* control = FindWindow(child);
            if (control == nullptr) {
                continue;
            }
            const bool groupBox =
                control->Class() == WindowClass::Button && control->Kind() == ButtonKind::GroupBox;
            if (groupBox == groupBoxes) {
                AddControl(child);
            }
        }
    }

    signals_.Connect(window_, "delete-event", Callback(&TopLevelView::OnDelete), this);
    signals_.Connect(window_, "key-press-event", Callback(&TopLevelView::OnKeyPress), this);
    signals_.Connect(window_, "button-press-event", Callback(&TopLevelView::OnButtonPress), this);
    signals_.Connect(window_, "window-state-event", Callback(&TopLevelView::OnWindowState), this);
    signals_.Connect(window_, "set-focus", Callback(&TopLevelView::OnSetFocus), this, true);
    signals_.Connect(window_, "move-focus", Callback(&TopLevelView::OnMoveFocus), this);
    signals_.Connect(fixed_, "draw", Callback(&TopLevelView::OnDrawBackground), this);

    MirrorScope mirror;
    for (Change change : {Change::Text, Change::Enabled, Change::Icon, Change::Focus}) {
        Apply(model, change);
    }
    MirrorDefaultButton();
}

TopLevelView::~TopLevelView() {
    signals_.DisconnectAll();
    for (auto& control : controls_) {
        UnregisterView(control->Handle());
    }
    controls_.clear();
    UnregisterView(handle_);
    gtk_widget_destroy(window_);
    g_object_unref(window_);
}

void TopLevelView::AddControl(HWND control) {
    const Window* model = FindWindow(control);
    if (model == nullptr) {
        return;
    }
    std::unique_ptr<ControlView> view = CreateControlView(control, *model);
    if (view == nullptr) {
        return;
    }
    PutControl(*view, *model);
    RegisterControlView(control, view.get());
    controls_.push_back(std::move(view));
}

void TopLevelView::PutControl(ControlView& view, const Window& control) {
    view.Place(GTK_FIXED(fixed_), MapDialogRect(control.RectDialogUnits(), base_));
    view.KeepFocusOnArrowKeys();
    focusWidgets_[view.Outer()] = view.Handle();
    focusWidgets_[view.FocusTarget()] = view.Handle();
    MirrorScope mirror;
    view.ApplyAll(control);
}

void TopLevelView::RemoveControl(HWND control) {
    for (auto it = controls_.begin(); it != controls_.end(); ++it) {
        if ((*it)->Handle() == control) {
            UnregisterView(control);
            focusWidgets_.erase((*it)->Outer());
            focusWidgets_.erase((*it)->FocusTarget());
            GtkWidget* outer = (*it)->Outer();
            g_object_ref(outer);
            controls_.erase(it);
            gtk_widget_destroy(outer);
            g_object_unref(outer);
            return;
        }
    }
}

void TopLevelView::Apply(const Window& model, Change change) {
    switch (change) {
        case Change::Text:
            gtk_window_set_title(Gtk(), Utf8(model.Text()).c_str());
            break;
        case Change::Enabled:
            // The owner of a modal dialog or box takes no input meanwhile.
            gtk_event_box_set_above_child(GTK_EVENT_BOX(inputShield_), !model.Enabled());
            if (model.Enabled()) {
                MirrorDefaultButton();
                MirrorFocus();
            }
            break;
        case Change::Visible:
            if (model.Visible()) {
                // The frame follows from the hints, and the place from the frame.
                gtk_widget_realize(window_);
                SetFrameHints(Gtk(), model);
                Place(model);
                gtk_widget_show(window_);
                // Showing gives a window without a focus widget the first focusable one.
                MirrorFocus();
            } else {
                gtk_widget_hide(window_);
            }
            break;
        case Change::Focus:
            MirrorFocus();
            break;
        case Change::Icon:
            MirrorIcons(model);
            break;
        case Change::Placement:
            placed_ = false;
            if (model.Visible()) {
                Place(model);
            }
            break;
        case Change::Iconic:
            if (model.Iconic()) {
                gtk_window_iconify(Gtk());
            } else {
                gtk_window_deiconify(Gtk());
            }
            break;
        default:
            break;
    }
}

void TopLevelView::ControlChanged(Change change) {
    if (change == Change::Enabled || change == Change::Visible) {
        MirrorDefaultButton();
        MirrorFocus();
    }
}

// Where the model's placement rule says, when the window is first shown. Once: a window the
// operator moved stays where it is, unless the rule changes.
void TopLevelView::Place(const Window& model) {
    if (placed_) {
        return;
    }
    placed_ = true;
    const RECT rect = model.RectDialogUnits();
    const RECT position = MapDialogRect(rect, base_);
    const RECT client =
        MapDialogRect(RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top}, base_);
    PlacementRequest request;
    request.rule = model.InitialPlacement();
    request.templatePosition = ScreenPoint{position.left, position.top};
    request.clientWidth = client.right;
    request.clientHeight = client.bottom;
    if (TopLevelView* owner = FindTopLevelView(model.Owner())) {
        const Window* ownerModel = FindWindow(model.Owner());
        request.owner = owner->Gtk();
        request.ownerShown =
            ownerModel != nullptr && ownerModel->Visible() && !ownerModel->Iconic();
    }
    PlaceOnScreen(Gtk(), request);
}

void TopLevelView::MirrorFocus() {
    MirrorScope mirror;
    const Window* model = FindWindow(handle_);
    const HWND focus = model != nullptr ? model->Focus() : nullptr;
    ControlView* view = focus != nullptr ? FindControlView(focus) : nullptr;
    GtkWidget* target = view != nullptr ? view->FocusTarget() : nullptr;
    if (target == nullptr || !gtk_widget_get_can_focus(target) ||
        !gtk_widget_is_sensitive(target) || !gtk_widget_get_visible(view->Outer())) {
        gtk_window_set_focus(Gtk(), nullptr);
        return;
    }
    if (gtk_window_get_focus(Gtk()) != target) {
        gtk_widget_grab_focus(target);
    }
    if (const Window* control = FindWindow(focus)) {
        view->FocusMirrored(*control);
    }
}

void TopLevelView::MirrorDefaultButton() {
    for (auto& view : controls_) {
        if (view->IsDefaultButton() && gtk_widget_is_sensitive(view->Outer())) {
            gtk_widget_grab_default(view->Outer());
            return;
        }
    }
}

void TopLevelView::MirrorIcons(const Window& model) {
    GList* icons = nullptr;
    for (WPARAM which : {ICON_BIG, ICON_SMALL}) {
        if (GdkPixbuf* pixbuf = PixbufFromIcon(model.Icon(which))) {
            icons = g_list_append(icons, pixbuf);
        }
    }
    gtk_window_set_icon_list(Gtk(), icons);
    g_list_free_full(icons, g_object_unref);
}

HWND TopLevelView::ControlOfWidget(GtkWidget* widget) const {
    for (; widget != nullptr && widget != window_; widget = gtk_widget_get_parent(widget)) {
        if (auto found = focusWidgets_.find(widget); found != focusWidgets_.end()) {
            return found->second;
        }
    }
    return nullptr;
}

gboolean TopLevelView::OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
    // The model decides (SC_CLOSE); the window goes only when the model destroys it.
    const HWND handle = static_cast<TopLevelView*>(self)->Handle();
    DeliverToModel([&] { input::CloseBox(handle); });
    return TRUE;
}

gboolean TopLevelView::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self) {
    auto* view = static_cast<TopLevelView*>(self);
    const HWND handle = view->Handle();
    const Window* model = FindWindow(handle);
    if (model == nullptr) {
        return FALSE;
    }
    if (!model->Enabled()) {
        return TRUE;  // no key reaches a disabled window's controls either
    }
    const Window* focus = FindWindow(model->Focus());
    const bool focusOnButton = focus != nullptr && focus->Class() == WindowClass::Button &&
                               focus->Kind() != ButtonKind::GroupBox;
    const auto route =
        RouteKey(event->keyval, static_cast<GdkModifierType>(event->state), focusOnButton);
    if (!route) {
        return FALSE;
    }
    if (route->target == KeyRoute::Target::SystemMenu) {
        if (model->HasSystemMenu()) {
            view->systemMenu_.PopUp(*model, view->fixed_, reinterpret_cast<GdkEvent*>(event),
                                    false);
        }
        return TRUE;
    }
    const input::Key key = route->key;
    DeliverToModel([&] { input::PressKey(handle, key); });
    return TRUE;
}

gboolean TopLevelView::OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer self) {
    auto* view = static_cast<TopLevelView*>(self);
    if (event->type != GDK_BUTTON_PRESS || event->button != GDK_BUTTON_SECONDARY) {
        return FALSE;
    }
    const Window* model = FindWindow(view->Handle());
    if (model != nullptr && model->HasSystemMenu() && model->Enabled()) {
        view->systemMenu_.PopUp(*model, view->fixed_, reinterpret_cast<GdkEvent*>(event), true);
    }
    return TRUE;
}

gboolean TopLevelView::OnWindowState(GtkWidget*, GdkEventWindowState* event, gpointer self) {
    if ((event->changed_mask & GDK_WINDOW_STATE_ICONIFIED) == 0) {
        return FALSE;
    }
    const HWND handle = static_cast<TopLevelView*>(self)->Handle();
    const bool iconified = (event->new_window_state & GDK_WINDOW_STATE_ICONIFIED) != 0;
    const Window* model = FindWindow(handle);
    // Our own iconify and deiconify come back here too; they agree with the model already.
    if (model != nullptr && model->Iconic() != iconified) {
        DeliverToModel(
            [&] { input::ChooseSystemMenuItem(handle, iconified ? SC_MINIMIZE : SC_RESTORE); });
    }
    return FALSE;
}

void TopLevelView::OnMoveFocus(GtkWindow* window, GtkDirectionType, gpointer) {
    // The arrow keys that no control took: a dialog moves its focus on Tab and Shift+Tab only
    // (the dialog manager's), never to whatever lies next to the control on the screen.
    g_signal_stop_emission_by_name(window, "move-focus");
}

void TopLevelView::OnSetFocus(GtkWindow*, GtkWidget* widget, gpointer self) {
    if (MirrorScope::Active() || widget == nullptr) {
        return;
    }
    auto* view = static_cast<TopLevelView*>(self);
    const HWND handle = view->Handle();
    const HWND control = view->ControlOfWidget(widget);
    const Window* model = FindWindow(handle);
    if (control == nullptr || model == nullptr || model->Focus() == control) {
        return;
    }
    // A click moved GTK's focus: the model moves its own, or refuses and GTK follows it back.
    DeliverToModel([&] {
        input::SetFocus(control);
        if (TopLevelView* still = FindTopLevelView(handle)) {
            still->MirrorFocus();
        }
    });
}

gboolean TopLevelView::OnDrawBackground(GtkWidget*, cairo_t*, gpointer self) {
    // Windows paints the dialog, then its controls: the dialog's WM_PAINT handler runs first.
    const HWND handle = static_cast<TopLevelView*>(self)->Handle();
    DeliverToModel([&] { UpdateWindow(handle); });
    return FALSE;
}

}  // namespace win::gtk
