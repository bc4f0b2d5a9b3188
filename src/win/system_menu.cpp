#include "win/menu.h"

#include "win/detail/carry_out.h"
#include "win/detail/window_ops.h"
#include "win/detail/window_registry.h"

namespace win {
namespace detail {
namespace {

MenuItem Item(UINT id, const char16_t* text, bool allowed) {
    return MenuItem{id, text, allowed ? MF_STRING : MF_STRING | MF_GRAYED};
}

WindowState* WindowOfMenu(HMENU menu) {
    // A system menu is named by its window's handle number.
    WindowState* state = Find(reinterpret_cast<HWND>(menu));
    return state != nullptr && state->HasSystemMenu() ? state : nullptr;
}

}  // namespace

bool WindowState::HasSystemMenu() const {
    return IsTopLevel() && (style & WS_SYSMENU) != 0;
}

std::vector<MenuItem> WindowState::SystemMenu() const {
    if (!HasSystemMenu()) {
        return {};
    }
    const bool sizable = (style & WS_THICKFRAME) != 0;
    std::vector<MenuItem> items;
    if (!sizable && (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0) {
        // A fixed dialog frame without minimise or maximise box (a small dialog, a message box)
        // can only be moved and closed, and its menu says only that.
        items = {
            Item(SC_MOVE, u"移动(&M)", true),
            Item(SC_CLOSE, u"关闭(&C)\tAlt+F4", closeAllowed),
        };
    } else {
        items = {
            Item(SC_RESTORE, u"还原(&R)", iconic),
            Item(SC_MOVE, u"移动(&M)", true),
            Item(SC_SIZE, u"大小(&S)", sizable && !iconic),
            Item(SC_MINIMIZE, u"最小化(&N)", (style & WS_MINIMIZEBOX) != 0 && !iconic),
            Item(SC_MAXIMIZE, u"最大化(&X)", (style & WS_MAXIMIZEBOX) != 0),
            MenuItem{0, u"", MF_SEPARATOR},
            Item(SC_CLOSE, u"关闭(&C)\tAlt+F4", closeAllowed),
        };
    }
    items.insert(items.end(), appendedMenuItems.begin(), appendedMenuItems.end());
    return items;
}

}  // namespace detail

HMENU GetSystemMenu(HWND window, BOOL revert) {
    return detail::CarryOut([&]() -> HMENU {
        detail::WindowState* state = detail::Find(window);
        if (state == nullptr || !state->HasSystemMenu()) {
            return nullptr;
        }
        if (revert) {
            if (!state->appendedMenuItems.empty()) {
                state->appendedMenuItems.clear();
                detail::Notify(*state, Change::SystemMenu);
            }
            return nullptr;
        }
        return reinterpret_cast<HMENU>(window);
    });
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, const char16_t* text) {
    return detail::CarryOut([&]() -> BOOL {
        detail::WindowState* state = detail::WindowOfMenu(menu);
        if (state == nullptr) {
            return FALSE;
        }
        MenuItem item;
        item.flags = flags;
        if ((flags & MF_SEPARATOR) == 0) {
            item.id = static_cast<UINT>(id);
            item.text = text != nullptr ? text : u"";
        }
        state->appendedMenuItems.push_back(std::move(item));
        detail::Notify(*state, Change::SystemMenu);
        return TRUE;
    });
}

}  // namespace win
