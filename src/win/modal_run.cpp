#include "win/detail/carry_out.h"
#include "win/detail/dialog_creation.h"
#include "win/detail/window_ops.h"
#include "win/detail/window_registry.h"
#include "win/dialog.h"
#include "win/quit.h"
#include "win/renderer.h"

namespace win {
namespace detail {

INT_PTR RunModal(HWND dialog) {
    WindowState* state = Find(dialog);
    Renderer* renderer = CurrentRenderer();
    if (state == nullptr || renderer == nullptr || !OnUiThread()) {
        if (state != nullptr) {
            DestroyWindow(dialog);
        }
        return -1;
    }
    const HWND owner = state->owner;
    if (!state->endCode && !QuitPosted()) {
        // Ended already inside its initialisation: never shown.
        // Marked first, so that whoever sees it appear knows it runs a loop of its own.
        ++state->modalDepth;
        SetVisible(*state, true);
        HoldOwner(owner);
        renderer->RunUntil([dialog] {
            const WindowState* running = Find(dialog);
            return running == nullptr || running->endCode.has_value() || QuitPosted();
        });
        if (WindowState* ended = Find(dialog)) {
            --ended->modalDepth;
        }
        ReleaseOwner(owner);
    }
    WindowState* ended = Find(dialog);
    if (ended == nullptr || !ended->endCode) {
        if (ended != nullptr) {
            DestroyWindow(dialog);
        }
        return -1;
    }
    const INT_PTR result = *ended->endCode;
    DestroyWindow(dialog);
    return result;
}

}  // namespace detail

INT_PTR DialogBoxIndirectParamW(const DialogTemplate& dialogTemplate, HWND owner,
                                WindowProcedure procedure, LPARAM initParam) {
    if (!OnUiThread() || CurrentRenderer() == nullptr || QuitPosted()) {
        return -1;
    }
    const HWND dialog =
        detail::CreateAndInitialise(dialogTemplate, owner, std::move(procedure), initParam);
    return dialog != nullptr ? detail::RunModal(dialog) : -1;
}

HWND CreateDialogIndirectParamW(const DialogTemplate& dialogTemplate, HWND owner,
                                WindowProcedure procedure, LPARAM initParam) {
    return detail::CarryOut([&]() -> HWND {
        const HWND dialog =
            detail::CreateAndInitialise(dialogTemplate, owner, std::move(procedure), initParam);
        if (detail::WindowState* state = detail::Find(dialog)) {
            detail::SetVisible(*state, true);
        }
        return dialog;
    });
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    return detail::CarryOut([&]() -> BOOL {
        detail::WindowState* state = detail::Find(dialog);
        if (state == nullptr || !state->IsTopLevel()) {
            return FALSE;
        }
        state->endCode = result;
        if (Renderer* renderer = CurrentRenderer()) {
            renderer->Wake();  // the loop looks at its end condition again
        }
        return TRUE;
    });
}

std::optional<INT_PTR> DialogEndCode(HWND dialog) {
    return detail::CarryOut([&]() -> std::optional<INT_PTR> {
        const detail::WindowState* state = detail::Find(dialog);
        return state != nullptr ? state->endCode : std::nullopt;
    });
}

}  // namespace win
