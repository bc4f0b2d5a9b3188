#include "win/paint.h"

#include <cstdint>
#include <map>
#include <vector>

#include "win/detail/carry_out.h"
#include "win/detail/paint_records.h"
#include "win/detail/window_registry.h"

namespace win {
namespace {

struct OpenPaint {
    HWND window = nullptr;
    std::vector<PaintOperation> operations;
};

struct PaintContexts {
    std::map<std::uintptr_t, OpenPaint> open;
    std::uintptr_t lastContext = 0;
};

PaintContexts& Contexts() {
    static PaintContexts contexts;
    return contexts;
}

std::uintptr_t Number(HDC dc) {
    return reinterpret_cast<std::uintptr_t>(dc);
}

}  // namespace

bool detail::RecordPaint(HDC dc, const PaintOperation& operation) {
    auto& open = Contexts().open;
    auto it = open.find(Number(dc));
    if (it == open.end()) {
        return false;
    }
    it->second.operations.push_back(operation);
    return true;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    return detail::CarryOut([&]() -> HDC {
        if (detail::Find(window) == nullptr) {
            return nullptr;
        }
        PaintContexts& contexts = Contexts();
        const HDC dc = reinterpret_cast<HDC>(++contexts.lastContext);
        contexts.open[Number(dc)] = OpenPaint{window, {}};
        if (paint != nullptr) {
            paint->hdc = dc;
            GetClientRect(window, &paint->rcPaint);
        }
        return dc;
    });
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
    return detail::CarryOut([&]() -> BOOL {
        if (paint == nullptr) {
            return FALSE;
        }
        auto& open = Contexts().open;
        auto it = open.find(Number(paint->hdc));
        if (it == open.end() || it->second.window != window) {
            return FALSE;
        }
        if (detail::WindowState* state = detail::Find(window)) {
            state->lastPaint = std::move(it->second.operations);
        }
        open.erase(it);
        return TRUE;
    });
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
    return detail::CarryOut([&]() -> BOOL {
        return detail::RecordPaint(dc, {PaintKind::Icon, x, y, icon}) ? TRUE : FALSE;
    });
}

std::vector<PaintOperation> LastPaint(HWND window) {
    const detail::WindowState* state = detail::Find(window);
    return state != nullptr ? state->lastPaint : std::vector<PaintOperation>{};
}

}  // namespace win
