#include "win/input.h"

#include "win/detail/input_rules.h"
#include "win/detail/ip_address_text.h"
#include "win/detail/window_ops.h"
#include "win/detail/window_registry.h"
#include "win/ui_thread.h"

namespace win {
namespace detail {

WindowState* AcceptingInput(HWND window) {
    if (!OnUiThread()) {
        return nullptr;
    }
    WindowState* state = Find(window);
    const WindowState* top = TopLevelOf(window);
    if (state == nullptr || top == nullptr || !state->enabled || !state->visible || !top->enabled ||
        !top->visible) {
        return nullptr;
    }
    return state;
}

bool ClickButton(WindowState& button) {
    if (button.buttonKind == ButtonKind::GroupBox) {
        return false;
    }
    const HWND handle = button.handle;
    const HWND dialog = button.parent;
    const int id = button.id;
    SetFocusControl(*TopLevelOf(handle), handle);
    if (button.buttonKind == ButtonKind::AutoCheckBox) {
        // The box flips before its dialog hears of the click.
        SetCheck(button, button.check != 0 ? 0 : 1);
    }
    SendCommand(dialog, id, BN_CLICKED, handle);
    return true;
}

}  // namespace detail

namespace input {

bool Click(HWND control) {
    detail::WindowState* state = detail::AcceptingInput(control);
    if (state == nullptr || state->IsTopLevel()) {
        return false;
    }
    switch (state->windowClass) {
        case WindowClass::Button:
            return detail::ClickButton(*state);
        case WindowClass::Edit:
        case WindowClass::ListBox:
        case WindowClass::IpAddress:
            detail::SetFocusControl(*detail::TopLevelOf(control), control);
            return true;
        default:
            return false;
    }
}

bool SetText(HWND control, const std::u16string& text) {
    detail::WindowState* state = detail::AcceptingInput(control);
    if (state == nullptr) {
        return false;
    }
    if (state->windowClass == WindowClass::Edit && !state->ReadOnly()) {
        detail::SetText(*state, text);
        return true;
    }
    if (state->windowClass == WindowClass::IpAddress) {
        state->addressFields = detail::ParseAddressFromOperator(text);
        detail::SetText(*state, detail::AddressDisplayText(state->addressFields));
        return true;
    }
    return false;
}

namespace {

// Selects line `index`; notifies LBN_SELCHANGE when the selection changed or `always`.
bool ChooseLine(HWND listBox, int index, bool always) {
    detail::WindowState* list = detail::AcceptingInput(listBox);
    if (list == nullptr || list->windowClass != WindowClass::ListBox || index < 0 ||
        index >= static_cast<int>(list->lines.size())) {
        return false;
    }
    detail::SetFocusControl(*detail::TopLevelOf(listBox), listBox);
    if (list->selection == index && !always) {
        return true;
    }
    detail::SetSelection(*list, index);
    if ((list->style & LBS_NOTIFY) != 0) {
        detail::SendCommand(list->parent, list->id, LBN_SELCHANGE, listBox);
    }
    return true;
}

}  // namespace

bool SelectLine(HWND listBox, int index) {
    return ChooseLine(listBox, index, false);
}

bool ClickLine(HWND listBox, int index) {
    return ChooseLine(listBox, index, true);
}

bool SecondClickOnLine(HWND listBox, int index) {
    // The first click's handler may have changed the list or closed the dialog.
    detail::WindowState* list = detail::AcceptingInput(listBox);
    if (list == nullptr || list->windowClass != WindowClass::ListBox || index < 0 ||
        list->selection != index) {
        return false;
    }
    if ((list->style & LBS_NOTIFY) != 0) {
        detail::SendCommand(list->parent, list->id, LBN_DBLCLK, listBox);
    }
    return true;
}

bool DoubleClickLine(HWND listBox, int index) {
    if (!ClickLine(listBox, index)) {
        return false;
    }
    SecondClickOnLine(listBox, index);
    return true;
}

bool SetFocus(HWND control) {
    detail::WindowState* state = detail::AcceptingInput(control);
    if (state == nullptr || state->IsTopLevel() || state->windowClass == WindowClass::Static ||
        (state->windowClass == WindowClass::Button && state->buttonKind == ButtonKind::GroupBox)) {
        return false;
    }
    detail::SetFocusControl(*detail::TopLevelOf(control), control);
    return true;
}

bool CloseBox(HWND topLevel) {
    detail::WindowState* top = detail::AcceptingInput(topLevel);
    if (top == nullptr || !top->IsTopLevel() || !top->closeAllowed) {
        return false;
    }
    SendMessageW(topLevel, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
}

bool ChooseSystemMenuItem(HWND topLevel, UINT id) {
    detail::WindowState* top = detail::AcceptingInput(topLevel);
    if (top == nullptr || !top->HasSystemMenu()) {
        return false;
    }
    for (const MenuItem& item : top->SystemMenu()) {
        if (item.id == id && (item.flags & (MF_SEPARATOR | MF_GRAYED)) == 0) {
            SendMessageW(topLevel, WM_SYSCOMMAND, id, 0);
            return true;
        }
    }
    return false;
}

}  // namespace input
}  // namespace win
