// The dialog manager's keys: Tab order, Enter, Esc, Alt+F4 and Space.
#include <vector>

#include "win/detail/input_rules.h"
#include "win/detail/window_ops.h"
#include "win/detail/window_registry.h"
#include "win/input.h"

namespace win::input {
namespace {

using detail::WindowState;

bool IsTabStop(const WindowState& control) {
    return (control.style & WS_TABSTOP) != 0 && control.visible && control.enabled;
}

bool IsPushButton(const WindowState& control) {
    return control.windowClass == WindowClass::Button &&
           (control.buttonKind == ButtonKind::Push ||
            control.buttonKind == ButtonKind::DefaultPush);
}

bool MoveFocus(WindowState& dialog, bool forward) {
    std::vector<HWND> stops;
    int current = -1;
    for (HWND child : dialog.children) {
        const WindowState* control = detail::Find(child);
        if (control != nullptr && IsTabStop(*control)) {
            if (child == dialog.focus) {
                current = static_cast<int>(stops.size());
            }
            stops.push_back(child);
        }
    }
    if (stops.empty()) {
        return false;
    }
    const int count = static_cast<int>(stops.size());
    int next = 0;
    if (current < 0) {
        next = forward ? 0 : count - 1;
    } else {
        next = (current + (forward ? 1 : count - 1)) % count;
    }
    detail::SetFocusControl(dialog, stops[static_cast<std::size_t>(next)]);
    return true;
}

// The control that answers Enter when no push button has the focus: the default push button,
// else whatever has the id IDOK (which may be none: the command is sent anyway).
bool SendDefaultCommand(WindowState& dialog) {
    const WindowState* target = nullptr;
    for (HWND child : dialog.children) {
        const WindowState* control = detail::Find(child);
        if (control != nullptr && control->windowClass == WindowClass::Button &&
            control->buttonKind == ButtonKind::DefaultPush) {
            target = control;
            break;
        }
    }
    if (target == nullptr) {
        target = detail::ControlById(dialog, IDOK);
    }
    if (target != nullptr && !target->enabled) {
        return false;
    }
    detail::SendCommand(dialog.handle, target != nullptr ? target->id : IDOK, BN_CLICKED,
                        target != nullptr ? target->handle : nullptr);
    return true;
}

bool SendCancelCommand(WindowState& dialog) {
    const WindowState* cancel = detail::ControlById(dialog, IDCANCEL);
    if (cancel != nullptr && !cancel->enabled) {
        return false;
    }
    detail::SendCommand(dialog.handle, IDCANCEL, BN_CLICKED,
                        cancel != nullptr ? cancel->handle : nullptr);
    return true;
}

}  // namespace

bool PressKey(HWND topLevel, Key key) {
    WindowState* dialog = detail::AcceptingInput(topLevel);
    if (dialog == nullptr || !dialog->IsTopLevel()) {
        return false;
    }
    WindowState* focused = detail::Find(dialog->focus);
    switch (key) {
        case Key::Tab:
            return MoveFocus(*dialog, true);
        case Key::ShiftTab:
            return MoveFocus(*dialog, false);
        case Key::Enter:
            // Enter on a list, an edit, an address field or a box is the dialog's default
            // command, never a double click or a toggle.
            if (focused != nullptr && IsPushButton(*focused)) {
                return focused->enabled && detail::ClickButton(*focused);
            }
            return SendDefaultCommand(*dialog);
        case Key::Escape:
            return SendCancelCommand(*dialog);
        case Key::AltF4:
            return CloseBox(topLevel);
        case Key::Space:
            if (focused != nullptr && focused->windowClass == WindowClass::Button &&
                focused->enabled) {
                return detail::ClickButton(*focused);
            }
            return false;
    }
    return false;
}

}  // namespace win::input
