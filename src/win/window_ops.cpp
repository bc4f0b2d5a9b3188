#include "win/detail/window_ops.h"

#include <algorithm>

#include "win/detail/window_registry.h"

namespace win::detail {

std::u16string TextFromParam(LPARAM text) {
    const auto* units = reinterpret_cast<const char16_t*>(text);
    return units == nullptr ? std::u16string() : std::u16string(units);
}

LRESULT CopyTextOut(const std::u16string& text, WPARAM maxCount, LPARAM buffer) {
    auto* out = reinterpret_cast<char16_t*>(buffer);
    if (out == nullptr || maxCount == 0) {
        return 0;
    }
    const std::size_t count = std::min<std::size_t>(text.size(), maxCount - 1);
    std::copy_n(text.begin(), count, out);
    out[count] = u'\0';
    return static_cast<LRESULT>(count);
}

void SetText(WindowState& window, std::u16string text) {
    if (window.text == text) {
        return;
    }
    window.text = std::move(text);
    Notify(window, Change::Text);
}

void SetEnabled(WindowState& window, bool enabled) {
    if (window.enabled == enabled) {
        return;
    }
    window.enabled = enabled;
    const HWND handle = window.handle;
    Notify(window, Change::Enabled);
    SendMessageW(handle, WM_ENABLE, enabled ? TRUE : FALSE, 0);
}

void SetVisible(WindowState& window, bool visible) {
    if (window.visible == visible) {
        return;
    }
    window.visible = visible;
    Notify(window, Change::Visible);
}

void SetIconic(WindowState& topLevel, bool iconic) {
    if (topLevel.iconic == iconic) {
        return;
    }
    topLevel.iconic = iconic;
    Notify(topLevel, Change::Iconic);
}

void SetFocusControl(WindowState& topLevel, HWND control) {
    if (topLevel.focus == control) {
        return;
    }
    topLevel.focus = control;
    Notify(topLevel, Change::Focus);
}

void SetCheck(WindowState& button, int check) {
    if (button.check == check) {
        return;
    }
    button.check = check;
    Notify(button, Change::Check);
}

void SetSelection(WindowState& listBox, int index) {
    if (listBox.selection == index) {
        return;
    }
    listBox.selection = index;
    Notify(listBox, Change::Selection);
}

void SendCommand(HWND dialog, int id, UINT code, HWND control) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(code)),
                 reinterpret_cast<LPARAM>(control));
}

WindowState* ControlById(const WindowState& dialog, int id) {
    for (HWND child : dialog.children) {
        WindowState* control = Find(child);
        if (control != nullptr && control->id == id) {
            return control;
        }
    }
    return nullptr;
}

void HoldOwner(HWND owner) {
    WindowState* state = TopLevelOf(owner);
    if (state == nullptr) {
        return;
    }
    if (state->ownedHolds++ == 0) {
        state->enabledBeforeHolds = state->enabled;
        SetEnabled(*state, false);
    }
}

void ReleaseOwner(HWND owner) {
    WindowState* state = TopLevelOf(owner);
    if (state == nullptr || state->ownedHolds == 0) {
        return;
    }
    if (--state->ownedHolds == 0 && state->enabledBeforeHolds) {
        SetEnabled(*state, true);
    }
}

}  // namespace win::detail
