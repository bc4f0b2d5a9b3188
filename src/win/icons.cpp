#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "win/window.h"

namespace win {
namespace {

struct IconTable {
    std::mutex mutex;
    std::map<int, HICON> byResource;
    std::map<std::uintptr_t, std::unique_ptr<IconImage>> images;  // by handle number
    std::uintptr_t lastHandle = 0;
};

IconTable& Icons() {
    static IconTable table;
    return table;
}

}  // namespace

void RegisterIconResource(int resourceId, IconImage image) {
    IconTable& icons = Icons();
    std::lock_guard lock(icons.mutex);
    auto it = icons.byResource.find(resourceId);
    if (it != icons.byResource.end()) {
        // The handle stays: icons belong to the program and are never destroyed.
        *icons.images[reinterpret_cast<std::uintptr_t>(it->second)] = std::move(image);
        return;
    }
    const std::uintptr_t number = ++icons.lastHandle;
    icons.images[number] = std::make_unique<IconImage>(std::move(image));
    icons.byResource[resourceId] = reinterpret_cast<HICON>(number);
}

HICON LoadIconResource(int resourceId) {
    IconTable& icons = Icons();
    std::lock_guard lock(icons.mutex);
    auto it = icons.byResource.find(resourceId);
    return it == icons.byResource.end() ? nullptr : it->second;
}

const IconImage* IconPixels(HICON icon) {
    IconTable& icons = Icons();
    std::lock_guard lock(icons.mutex);
    auto it = icons.images.find(reinterpret_cast<std::uintptr_t>(icon));
    return it == icons.images.end() ? nullptr : it->second.get();
}

}  // namespace win
