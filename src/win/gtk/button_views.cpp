#include "win/gtk/button_views.h"

#include "win/gtk/label_text.h"
#include "win/gtk/mirror_scope.h"
#include "win/gtk/model_input.h"
#include "win/input.h"

namespace win::gtk {
namespace {

GtkWidget* NewButtonLabel() {
    GtkWidget* label = gtk_label_new(nullptr);
    gtk_widget_show(label);
    return label;
}

}  // namespace

PushButtonView::PushButtonView(HWND handle, const Window& model)
    : ControlView(handle),
      label_(NewButtonLabel()),
      isDefault_(model.Kind() == ButtonKind::DefaultPush) {
    GtkWidget* button = gtk_button_new();
    gtk_container_add(GTK_CONTAINER(button), label_);
    gtk_widget_set_can_default(button, isDefault_);
    SetOuter(button);
    Signals().Connect(button, "clicked", Callback(&PushButtonView::OnClicked), this);
}

void PushButtonView::Apply(const Window& model, Change change) {
    ControlView::Apply(model, change);
    if (change == Change::Text) {
        gtk_label_set_markup(GTK_LABEL(label_), LabelMarkup(model.Text(), true).c_str());
    }
}

void PushButtonView::OnClicked(GtkButton*, gpointer self) {
    if (MirrorScope::Active()) {
        return;
    }
    const HWND handle = static_cast<PushButtonView*>(self)->Handle();
    DeliverToModel([&] { input::Click(handle); });
}

CheckBoxView::CheckBoxView(HWND handle, const Window&)
    : ControlView(handle), label_(NewButtonLabel()) {
    GtkWidget* box = gtk_check_button_new();
    gtk_widget_set_valign(label_, GTK_ALIGN_CENTER);
    gtk_container_add(GTK_CONTAINER(box), label_);
    SetOuter(box);
    Signals().Connect(box, "toggled", Callback(&CheckBoxView::OnToggled), this);
}

void CheckBoxView::Apply(const Window& model, Change change) {
    ControlView::Apply(model, change);
    if (change == Change::Text) {
        gtk_label_set_markup(GTK_LABEL(label_), LabelMarkup(model.Text(), true).c_str());
    } else if (change == Change::Check) {
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(Outer()), model.Check() != 0);
    }
}

void CheckBoxView::OnToggled(GtkToggleButton*, gpointer self) {
    if (MirrorScope::Active()) {
        return;
    }
    const HWND handle = static_cast<CheckBoxView*>(self)->Handle();
    DeliverToModel([&] {
        input::Click(handle);
        ResyncControl(handle);
    });
}

GroupBoxView::GroupBoxView(HWND handle, const Window&)
    : ControlView(handle), label_(NewButtonLabel()) {
    GtkWidget* frame = gtk_frame_new(nullptr);
    gtk_frame_set_shadow_type(GTK_FRAME(frame), GTK_SHADOW_ETCHED_IN);
    gtk_frame_set_label_widget(GTK_FRAME(frame), label_);
    gtk_widget_set_can_focus(frame, FALSE);
    SetOuter(frame);
}

void GroupBoxView::Apply(const Window& model, Change change) {
    ControlView::Apply(model, change);
    if (change == Change::Text) {
        gtk_label_set_markup(GTK_LABEL(label_), LabelMarkup(model.Text(), true).c_str());
        gtk_widget_set_visible(label_, !model.Text().empty());
    }
}

}  // namespace win::gtk
