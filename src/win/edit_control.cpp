#include "win/detail/control_procedures.h"
#include "win/detail/window_registry.h"

namespace win::detail {

LRESULT EditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowState* edit = Find(window);
    if (edit == nullptr) {
        return 0;
    }
    switch (message) {
        case EM_SETPASSWORDCHAR: {
            const auto ch = static_cast<char16_t>(wParam);
            if (edit->passwordChar != ch) {
                edit->passwordChar = ch;
                Notify(*edit, Change::PasswordChar);
            }
            return 0;
        }
        case EM_GETPASSWORDCHAR:
            return edit->passwordChar;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace win::detail
