#include <memory>

#include "win/detail/carry_out.h"
#include "win/detail/window_registry.h"
#include "win/window_api.h"

namespace win {

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return detail::CarryOut([&]() -> LRESULT {
        const detail::WindowState* state = detail::Find(window);
        if (state == nullptr || !state->procedure) {
            return 0;
        }
        // Held for the call: the procedure may replace itself or destroy its window.
        const std::shared_ptr<const WindowProcedure> procedure = state->procedure;
        return (*procedure)(window, message, wParam, lParam);
    });
}

WindowProcedure SubclassWindow(HWND window, WindowProcedure procedure) {
    return detail::CarryOut([&]() -> WindowProcedure {
        detail::WindowState* state = detail::Find(window);
        if (state == nullptr) {
            return {};
        }
        WindowProcedure previous = state->procedure ? *state->procedure : WindowProcedure{};
        state->procedure = std::make_shared<const WindowProcedure>(std::move(procedure));
        return previous;
    });
}

LRESULT CallWindowProcW(const WindowProcedure& procedure, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) {
    if (!procedure) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return procedure(window, message, wParam, lParam);
}

}  // namespace win
