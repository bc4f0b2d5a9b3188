#include <algorithm>
#include <vector>

#include "win/detail/carry_out.h"
#include "win/detail/window_ops.h"
#include "win/detail/window_registry.h"
#include "win/renderer.h"
#include "win/window_api.h"

namespace win {
namespace {

constexpr int kIconSize = 32;

void SendToTree(const std::vector<HWND>& windows, UINT message) {
    for (HWND window : windows) {
        SendMessageW(window, message, 0, 0);
    }
}

}  // namespace

BOOL IsWindow(HWND window) {
    return detail::CarryOut([&]() -> BOOL { return detail::Find(window) != nullptr; });
}

BOOL SetWindowTextW(HWND window, const char16_t* text) {
    return static_cast<BOOL>(SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextW(HWND window, char16_t* buffer, int maxCount) {
    if (buffer == nullptr || maxCount <= 0) {
        return 0;
    }
    buffer[0] = u'\0';
    return static_cast<int>(SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                         reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND window) {
    return static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
}

std::u16string GetWindowTextString(HWND window) {
    return detail::CarryOut([&]() -> std::u16string {
        const int length = GetWindowTextLengthW(window);
        std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
        const int copied = GetWindowTextW(window, text.data(), length + 1);
        text.resize(static_cast<std::size_t>(std::max(copied, 0)));
        return text;
    });
}

BOOL EnableWindow(HWND window, BOOL enable) {
    return detail::CarryOut([&]() -> BOOL {
        detail::WindowState* state = detail::Find(window);
        if (state == nullptr) {
            return FALSE;
        }
        const BOOL wasDisabled = state->enabled ? FALSE : TRUE;
        detail::SetEnabled(*state, enable != FALSE);
        return wasDisabled;
    });
}

BOOL IsWindowEnabled(HWND window) {
    return detail::CarryOut([&]() -> BOOL {
        const detail::WindowState* state = detail::Find(window);
        return state != nullptr && state->enabled;
    });
}

HWND SetFocus(HWND control) {
    return detail::CarryOut([&]() -> HWND {
        detail::WindowState* state = detail::Find(control);
        if (state == nullptr || state->IsTopLevel()) {
            return nullptr;
        }
        detail::WindowState* top = detail::TopLevelOf(control);
        const HWND previous = top->focus;
        detail::SetFocusControl(*top, control);
        return previous;
    });
}

HWND GetFocusOf(HWND topLevel) {
    return detail::CarryOut([&]() -> HWND {
        const detail::WindowState* top = detail::TopLevelOf(topLevel);
        return top != nullptr ? top->focus : nullptr;
    });
}

BOOL ShowWindow(HWND window, int command) {
    return detail::CarryOut([&]() -> BOOL {
        detail::WindowState* state = detail::Find(window);
        if (state == nullptr) {
            return FALSE;
        }
        const BOOL wasVisible = state->visible ? TRUE : FALSE;
        switch (command) {
            case SW_HIDE:
                detail::SetVisible(*state, false);
                break;
            case SW_MINIMIZE:
                detail::SetVisible(*state, true);
                if (state->IsTopLevel()) {
                    detail::SetIconic(*state, true);
                }
                break;
            case SW_SHOWNORMAL:
            case SW_RESTORE:
                detail::SetVisible(*state, true);
                if (state->IsTopLevel()) {
                    detail::SetIconic(*state, false);
                }
                break;
            default:
                detail::SetVisible(*state, true);
                break;
        }
        return wasVisible;
    });
}

BOOL IsWindowVisible(HWND window) {
    return detail::CarryOut([&]() -> BOOL {
        const detail::WindowState* state = detail::Find(window);
        return state != nullptr && state->visible;
    });
}

BOOL DestroyWindow(HWND window) {
    return detail::CarryOut([&]() -> BOOL {
        detail::WindowState* state = detail::Find(window);
        if (state == nullptr || !state->IsTopLevel()) {
            return FALSE;  // controls go with their dialog
        }
        if (state->destroying) {
            return TRUE;
        }
        // Owned windows go first, the newest first, as their owner's end takes them along.
        std::vector<HWND> topLevel = detail::AllTopLevel();
        for (auto it = topLevel.rbegin(); it != topLevel.rend(); ++it) {
            const detail::WindowState* other = detail::Find(*it);
            if (other != nullptr && other->owner == window) {
                DestroyWindow(*it);
            }
        }
        state = detail::Find(window);
        if (state == nullptr || state->destroying) {
            return TRUE;
        }
        if (Renderer* renderer = CurrentRenderer(); renderer != nullptr && state->announced) {
            renderer->WindowChanged(window, Change::Destroyed);
        }
        state->destroying = true;
        const std::vector<HWND> children = state->children;
        SendMessageW(window, WM_DESTROY, 0, 0);
        SendToTree(children, WM_DESTROY);
        SendToTree(children, WM_NCDESTROY);
        SendMessageW(window, WM_NCDESTROY, 0, 0);
        for (HWND child : children) {
            detail::Remove(child);
        }
        detail::Remove(window);
        return TRUE;
    });
}

BOOL IsIconic(HWND window) {
    return detail::CarryOut([&]() -> BOOL {
        const detail::WindowState* state = detail::Find(window);
        return state != nullptr && state->IsTopLevel() && state->iconic;
    });
}

DWORD GetWindowLongW(HWND window, int index) {
    return detail::CarryOut([&]() -> DWORD {
        const detail::WindowState* state = detail::Find(window);
        if (state == nullptr) {
            return 0;
        }
        switch (index) {
            case GWL_STYLE:
                return state->style;
            case GWL_EXSTYLE:
                return state->exStyle;
            default:
                return 0;
        }
    });
}

HWND GetDlgItem(HWND dialog, int id) {
    return detail::CarryOut([&]() -> HWND {
        const detail::WindowState* state = detail::Find(dialog);
        const detail::WindowState* control =
            state != nullptr ? detail::ControlById(*state, id) : nullptr;
        return control != nullptr ? control->handle : nullptr;
    });
}

int GetDlgCtrlID(HWND control) {
    return detail::CarryOut([&]() -> int {
        const detail::WindowState* state = detail::Find(control);
        return state != nullptr && !state->IsTopLevel() ? state->id : 0;
    });
}

HWND GetParent(HWND window) {
    return detail::CarryOut([&]() -> HWND {
        const detail::WindowState* state = detail::Find(window);
        if (state == nullptr) {
            return nullptr;
        }
        return state->IsTopLevel() ? state->owner : state->parent;
    });
}

BOOL GetClientRect(HWND window, RECT* rect) {
    return detail::CarryOut([&]() -> BOOL {
        const detail::WindowState* state = detail::Find(window);
        if (state == nullptr || rect == nullptr) {
            return FALSE;
        }
        const RECT units = state->rectDialogUnits;
        RECT size{0, 0, units.right - units.left, units.bottom - units.top};
        if (Renderer* renderer = CurrentRenderer()) {
            const detail::WindowState* top = detail::TopLevelOf(window);
            size = renderer->DialogUnitsToPixels(top->handle, size);
        }
        *rect = RECT{0, 0, size.right - size.left, size.bottom - size.top};
        return TRUE;
    });
}

int GetSystemMetrics(int index) {
    return index == SM_CXICON || index == SM_CYICON ? kIconSize : 0;
}

BOOL UpdateWindow(HWND window) {
    return detail::CarryOut([&]() -> BOOL {
        if (detail::Find(window) == nullptr) {
            return FALSE;
        }
        SendMessageW(window, WM_PAINT, 0, 0);
        return TRUE;
    });
}

}  // namespace win
