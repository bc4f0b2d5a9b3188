#include "afx/resources.h"

#include <map>
#include <mutex>
#include <string>

#include "afx/detail/string_table.h"
#include "win/window.h"

namespace {

struct StringTable {
    std::mutex mutex;
    std::map<win::UINT, std::u16string> strings;
};

StringTable& Strings() {
    static StringTable table;
    return table;
}

// Resource ids below 0x10000 passed as names (MAKEINTRESOURCEW).
constexpr win::UINT_PTR kLargestResourceId = 0xFFFF;

}  // namespace

void AfxRegisterString(win::UINT id, const char16_t* text) {
    StringTable& table = Strings();
    std::lock_guard lock(table.mutex);
    table.strings[id] = text != nullptr ? text : u"";
}

std::optional<std::u16string> afx::detail::LookUpString(win::UINT id) {
    StringTable& table = Strings();
    std::lock_guard lock(table.mutex);
    auto it = table.strings.find(id);
    if (it == table.strings.end()) {
        return std::nullopt;
    }
    return it->second;
}

HINSTANCE AfxGetInstanceHandle() {
    return nullptr;
}

win::HICON LoadIconW(HINSTANCE, const char16_t* resource) {
    const auto id = reinterpret_cast<win::UINT_PTR>(resource);
    if (id > kLargestResourceId) {
        return nullptr;  // icons are known by number only
    }
    return win::LoadIconResource(static_cast<int>(id));
}

win::HICON LoadIconW(HINSTANCE, win::UINT id) {
    return win::LoadIconResource(static_cast<int>(id));
}
