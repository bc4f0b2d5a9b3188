#include <map>
#include <mutex>

#include "win/dialog.h"

namespace win {
namespace {

struct TemplateTable {
    std::mutex mutex;
    std::map<int, DialogTemplate> byResource;
};

TemplateTable& Templates() {
    static TemplateTable table;
    return table;
}

}  // namespace

void RegisterDialogTemplate(DialogTemplate dialogTemplate) {
    TemplateTable& table = Templates();
    std::lock_guard lock(table.mutex);
    const int id = dialogTemplate.resourceId;
    table.byResource.insert_or_assign(id, std::move(dialogTemplate));
}

std::optional<DialogTemplate> FindDialogTemplate(int resourceId) {
    TemplateTable& table = Templates();
    std::lock_guard lock(table.mutex);
    auto it = table.byResource.find(resourceId);
    if (it == table.byResource.end()) {
        return std::nullopt;
    }
    return it->second;
}

}  // namespace win
