#include "win/detail/control_procedures.h"
#include "win/detail/window_ops.h"
#include "win/detail/window_registry.h"

namespace win::detail {

LRESULT ButtonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowState* button = Find(window);
    if (button == nullptr) {
        return 0;
    }
    const bool isCheckBox = button->buttonKind == ButtonKind::AutoCheckBox;
    switch (message) {
        case BM_GETCHECK:
            return isCheckBox ? button->check : 0;
        case BM_SETCHECK:
            // From code: the state changes, and nobody is told.
            if (isCheckBox) {
                SetCheck(*button, wParam != BST_UNCHECKED ? 1 : 0);
            }
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace win::detail
