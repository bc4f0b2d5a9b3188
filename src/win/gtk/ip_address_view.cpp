#include "win/gtk/ip_address_view.h"

#include <algorithm>
#include <string>

#include "win/gtk/mirror_scope.h"
#include "win/gtk/model_input.h"
#include "win/input.h"

namespace win::gtk {
namespace {

constexpr int kLongestAddress = 15;  // "255.255.255.255"
constexpr int kDotsInAddress = 3;

}  // namespace

std::string AcceptedAddressInput(const std::string& current, const std::string& inserted) {
    int dots = static_cast<int>(std::count(current.begin(), current.end(), '.'));
    std::string accepted;
    for (char c : inserted) {
        if (c >= '0' && c <= '9') {
            accepted += c;
        } else if (c == '.' && dots < kDotsInAddress) {
            accepted += c;
            ++dots;
        }
    }
    return accepted;
}

IpAddressView::IpAddressView(HWND handle, const Window& model) : EditView(handle, model) {
    gtk_entry_set_has_frame(Entry(), TRUE);
    gtk_entry_set_max_length(Entry(), kLongestAddress);
    insertHandler_ =
        Signals().Connect(Outer(), "insert-text", Callback(&IpAddressView::OnInsertText), this);
    Signals().Connect(Outer(), "focus-out-event", Callback(&IpAddressView::OnFocusOut), this);
}

void IpAddressView::Apply(const Window& model, Change change) {
    if (change == Change::Text && operatorTyping_) {
        return;
    }
    EditView::Apply(model, change);
}

void IpAddressView::TextEdited(const std::u16string& text) {
    operatorTyping_ = true;
    DeliverToModel([&] { input::SetText(Handle(), text); });
    operatorTyping_ = false;
}

void IpAddressView::OnInsertText(GtkEditable* entry, const gchar* text, gint length, gint* position,
                                 gpointer self) {
    if (MirrorScope::Active()) {
        return;
    }
    auto* view = static_cast<IpAddressView*>(self);
    const std::string inserted =
        length < 0 ? std::string(text) : std::string(text, static_cast<std::size_t>(length));
    const std::string accepted =
        AcceptedAddressInput(gtk_entry_get_text(GTK_ENTRY(entry)), inserted);
    if (accepted == inserted) {
        return;
    }
    g_signal_handler_block(entry, view->insertHandler_);
    gtk_editable_insert_text(entry, accepted.c_str(), static_cast<gint>(accepted.size()), position);
    g_signal_handler_unblock(entry, view->insertHandler_);
    g_signal_stop_emission_by_name(entry, "insert-text");
}

gboolean IpAddressView::OnFocusOut(GtkWidget*, GdkEventFocus*, gpointer self) {
    // Also when the model moved the focus (Tab goes through the dialog manager): the entry then
    // loses it inside a mirror, and would keep showing "1.2.3.999" for the model's 1.2.3.255.
    const HWND handle = static_cast<IpAddressView*>(self)->Handle();
    DeliverToModel([&] { ResyncControl(handle); });
    return FALSE;
}

}  // namespace win::gtk
