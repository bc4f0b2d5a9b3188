#include "afx/message_map.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY noEntries[] = {{win::WM_NULL, 0, 0, nullptr}};
    static const AFX_MSGMAP rootMap = {nullptr, &noEntries[0]};
    return &rootMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(win::UINT message, win::UINT code,
                                                     win::UINT id) const {
    // The class's own map first, then each base class's.
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nMessage != win::WM_NULL;
             ++entry) {
            if (entry->nMessage == message &&
                (message != win::WM_COMMAND || (entry->nCode == code && entry->nID == id))) {
                return entry;
            }
        }
    }
    return nullptr;
}

bool CCmdTarget::OnCmdMsg(win::UINT nID, int nCode) {
    const AFX_MSGMAP_ENTRY* entry =
        FindMessageEntry(win::WM_COMMAND, static_cast<win::UINT>(nCode), nID);
    if (entry == nullptr) {
        return false;
    }
    entry->pfn(this, 0, 0);
    return true;
}
