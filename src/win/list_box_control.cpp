#include "win/detail/control_procedures.h"
#include "win/detail/window_ops.h"
#include "win/detail/window_registry.h"

namespace win::detail {
namespace {

bool ValidIndex(const WindowState& list, WPARAM index) {
    return index < list.lines.size();
}

LRESULT InsertLine(WindowState& list, WPARAM wParam, LPARAM lParam) {
    // The position is the caller's: LBS_SORT orders only lines added without one.
    const auto requested = static_cast<LRESULT>(static_cast<INT_PTR>(wParam));
    const auto count = static_cast<LRESULT>(list.lines.size());
    const LRESULT index = requested == -1 ? count : requested;
    if (index < 0 || index > count) {
        return LB_ERR;
    }
    list.lines.insert(list.lines.begin() + index, TextFromParam(lParam));
    Notify(list, Change::Lines);
    if (list.selection >= index) {
        // The selected line keeps its selection while it moves down.
        SetSelection(list, list.selection + 1);
    }
    return index;
}

}  // namespace

LRESULT ListBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowState* list = Find(window);
    if (list == nullptr) {
        return 0;
    }
    switch (message) {
        case LB_GETCOUNT:
            return static_cast<LRESULT>(list->lines.size());
        case LB_INSERTSTRING:
            return InsertLine(*list, wParam, lParam);
        case LB_RESETCONTENT:
            list->lines.clear();
            Notify(*list, Change::Lines);
            SetSelection(*list, -1);
            return 0;
        case LB_GETCURSEL:
            return list->selection >= 0 ? list->selection : LB_ERR;
        case LB_SETCURSEL:
            if (static_cast<INT_PTR>(wParam) == -1) {
                SetSelection(*list, -1);
                return LB_ERR;
            }
            if (!ValidIndex(*list, wParam)) {
                return LB_ERR;
            }
            SetSelection(*list, static_cast<int>(wParam));
            return static_cast<LRESULT>(wParam);
        case LB_GETTEXT:
            if (!ValidIndex(*list, wParam)) {
                return LB_ERR;
            }
            return CopyTextOut(list->lines[wParam], list->lines[wParam].size() + 1, lParam);
        case LB_GETTEXTLEN:
            return ValidIndex(*list, wParam) ? static_cast<LRESULT>(list->lines[wParam].size())
                                             : LB_ERR;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace win::detail
