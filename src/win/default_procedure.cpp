#include "win/detail/paint_records.h"
#include "win/detail/window_ops.h"
#include "win/detail/window_registry.h"
#include "win/renderer.h"
#include "win/window_api.h"

namespace win {
namespace {

constexpr UINT kSystemCommandMask = 0xFFF0;  // the low four bits are the system's own

LRESULT SetIcon(detail::WindowState& window, WPARAM which, LPARAM icon) {
    HICON& slot = which == ICON_BIG ? window.bigIcon : window.smallIcon;
    const HICON previous = slot;
    slot = reinterpret_cast<HICON>(icon);
    if (slot != previous) {
        detail::Notify(window, Change::Icon);
    }
    return reinterpret_cast<LRESULT>(previous);
}

LRESULT SystemCommand(detail::WindowState& window, WPARAM command) {
    const HWND handle = window.handle;
    switch (command & kSystemCommandMask) {
        case SC_CLOSE:
            SendMessageW(handle, WM_CLOSE, 0, 0);
            break;
        case SC_MINIMIZE:
            detail::SetIconic(window, true);
            break;
        case SC_RESTORE:
            detail::SetIconic(window, false);
            break;
        case SC_MOVE:
            if (Renderer* renderer = CurrentRenderer()) {
                renderer->MoveWithKeyboard(handle);
            }
            break;
        default:
            // Sizing and maximising have nothing to do in a fixed dialog.
            break;
    }
    return 0;
}

LRESULT PaintNormally(HWND window) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    detail::RecordPaint(dc, {PaintKind::Background, 0, 0, nullptr});
    EndPaint(window, &paint);
    return 0;
}

}  // namespace

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    detail::WindowState* state = detail::Find(window);
    if (state == nullptr) {
        return 0;
    }
    switch (message) {
        case WM_SETTEXT:
            detail::SetText(*state, detail::TextFromParam(lParam));
            return TRUE;
        case WM_GETTEXT:
            return detail::CopyTextOut(state->text, wParam, lParam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(state->text.size());
        case WM_SETICON:
            return SetIcon(*state, wParam, lParam);
        case WM_SYSCOMMAND:
            return SystemCommand(*state, wParam);
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_PAINT:
            return PaintNormally(window);
        case WM_ICONERASEBKGND:
            detail::RecordPaint(reinterpret_cast<HDC>(wParam),
                                {PaintKind::IconBackground, 0, 0, nullptr});
            return TRUE;
        default:
            return 0;
    }
}

LRESULT DefDlgProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    detail::WindowState* dialog = detail::Find(window);
    if (dialog == nullptr) {
        return 0;
    }
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;  // the first tab stop takes the focus
        case WM_CLOSE: {
            // A dialog closes the way its Cancel button would; a disabled Cancel keeps it open.
            detail::WindowState* cancel = detail::ControlById(*dialog, IDCANCEL);
            if (cancel != nullptr && !cancel->enabled) {
                return 0;
            }
            detail::SendCommand(window, IDCANCEL, BN_CLICKED,
                                cancel != nullptr ? cancel->handle : nullptr);
            return 0;
        }
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace win
