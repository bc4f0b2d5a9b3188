#include "win/detail/carry_out.h"
#include "win/detail/window_registry.h"
#include "win/window_api.h"

namespace win {

BOOL CenterWindowOverOwner(HWND window) {
    return detail::CarryOut([&]() -> BOOL {
        detail::WindowState* state = detail::Find(window);
        if (state == nullptr || !state->IsTopLevel()) {
            return FALSE;
        }
        state->placement = Placement::CentredOverOwner;
        detail::Notify(*state, Change::Placement);
        return TRUE;
    });
}

}  // namespace win
