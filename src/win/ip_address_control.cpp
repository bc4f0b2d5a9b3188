#include "win/detail/control_procedures.h"
#include "win/detail/ip_address_text.h"
#include "win/detail/window_ops.h"
#include "win/detail/window_registry.h"

namespace win::detail {

LRESULT IpAddressProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowState* control = Find(window);
    if (control == nullptr) {
        return 0;
    }
    switch (message) {
        case WM_SETTEXT:
            control->addressFields = ParseAddressFromCode(TextFromParam(lParam));
            SetText(*control, AddressDisplayText(control->addressFields));
            return TRUE;
        case WM_GETTEXT:
            return CopyTextOut(AddressTextOf(control->addressFields), wParam, lParam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(AddressTextOf(control->addressFields).size());
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace win::detail
