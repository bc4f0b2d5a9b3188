// CMenu: a menu handle with the calls the tool makes on the system menu.
#pragma once

#include "win/types.h"

class CMenu {
  public:
    CMenu() = default;
    explicit CMenu(win::HMENU menu) : m_hMenu(menu) {}

    win::HMENU GetSafeHmenu() const { return m_hMenu; }
    // MF_STRING with an id and a text, or MF_SEPARATOR; added at the end.
    win::BOOL AppendMenu(win::UINT nFlags, win::UINT_PTR nIDNewItem = 0,
                         const char16_t* lpszNewItem = nullptr);

    win::HMENU m_hMenu = nullptr;
};
