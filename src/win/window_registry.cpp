#include "win/detail/window_registry.h"

#include <cstdint>
#include <map>

namespace win::detail {
namespace {

struct Registry {
    std::map<std::uintptr_t, std::unique_ptr<WindowState>> windows;  // ordered by creation
    std::uintptr_t lastHandle = 0;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

std::uintptr_t Number(HWND window) {
    return reinterpret_cast<std::uintptr_t>(window);
}

}  // namespace

WindowState& CreateWindowState() {
    Registry& registry = TheRegistry();
    // Handles only grow, so a destroyed window's handle never names another window.
    const std::uintptr_t number = ++registry.lastHandle;
    auto state = std::make_unique<WindowState>();
    state->handle = reinterpret_cast<HWND>(number);
    WindowState& created = *state;
    registry.windows.emplace(number, std::move(state));
    return created;
}

WindowState* Find(HWND window) {
    if (window == nullptr) {
        return nullptr;
    }
    auto& windows = TheRegistry().windows;
    auto it = windows.find(Number(window));
    return it == windows.end() ? nullptr : it->second.get();
}

WindowState* TopLevelOf(HWND window) {
    WindowState* state = Find(window);
    while (state != nullptr && state->parent != nullptr) {
        state = Find(state->parent);
    }
    return state;
}

void Remove(HWND window) {
    TheRegistry().windows.erase(Number(window));
}

std::vector<HWND> AllTopLevel() {
    std::vector<HWND> result;
    for (const auto& [number, state] : TheRegistry().windows) {
        if (state->IsTopLevel()) {
            result.push_back(state->handle);
        }
    }
    return result;
}

void Notify(const WindowState& window, Change change) {
    const WindowState* top = TopLevelOf(window.handle);
    if (top == nullptr || !top->announced || top->destroying) {
        return;
    }
    if (Renderer* renderer = CurrentRenderer()) {
        renderer->WindowChanged(window.handle, change);
    }
}

void AnnounceCreated(WindowState& dialog) {
    dialog.announced = true;
    if (Renderer* renderer = CurrentRenderer()) {
        renderer->WindowChanged(dialog.handle, Change::Created);
    }
}

}  // namespace win::detail

namespace win {

const Window* FindWindow(HWND window) {
    return detail::Find(window);
}

std::vector<HWND> TopLevelWindows() {
    return detail::AllTopLevel();
}

}  // namespace win
