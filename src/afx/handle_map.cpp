#include "afx/detail/handle_map.h"

#include <mutex>
#include <unordered_map>

namespace afx::detail {
namespace {

struct HandleMap {
    std::mutex mutex;
    std::unordered_map<win::HWND, CWnd*> objects;
};

HandleMap& Map() {
    static HandleMap map;
    return map;
}

}  // namespace

CWnd* FindPermanent(win::HWND window) {
    HandleMap& map = Map();
    std::lock_guard lock(map.mutex);
    auto it = map.objects.find(window);
    return it == map.objects.end() ? nullptr : it->second;
}

void AddPermanent(win::HWND window, CWnd* object) {
    HandleMap& map = Map();
    std::lock_guard lock(map.mutex);
    map.objects[window] = object;
}

void RemovePermanent(win::HWND window, const CWnd* object) {
    HandleMap& map = Map();
    std::lock_guard lock(map.mutex);
    auto it = map.objects.find(window);
    if (it != map.objects.end() && it->second == object) {
        map.objects.erase(it);
    }
}

}  // namespace afx::detail
