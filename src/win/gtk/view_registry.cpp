#include "win/gtk/view_registry.h"

#include <unordered_map>

namespace win::gtk {
namespace {

struct Views {
    std::unordered_map<HWND, ControlView*> controls;
    std::unordered_map<HWND, TopLevelView*> topLevels;
};

// UI thread only, like every GTK call.
Views& AllViews() {
    static Views views;
    return views;
}

template <typename Map>
typename Map::mapped_type Lookup(const Map& map, HWND handle) {
    const auto found = map.find(handle);
    return found == map.end() ? nullptr : found->second;
}

}  // namespace

void RegisterControlView(HWND handle, ControlView* view) {
    AllViews().controls[handle] = view;
}
void RegisterTopLevelView(HWND handle, TopLevelView* view) {
    AllViews().topLevels[handle] = view;
}
void UnregisterView(HWND handle) {
    AllViews().controls.erase(handle);
    AllViews().topLevels.erase(handle);
}

ControlView* FindControlView(HWND handle) {
    return Lookup(AllViews().controls, handle);
}
TopLevelView* FindTopLevelView(HWND handle) {
    return Lookup(AllViews().topLevels, handle);
}

}  // namespace win::gtk
