#include "afx/menu.h"

#include "win/menu.h"

win::BOOL CMenu::AppendMenu(win::UINT nFlags, win::UINT_PTR nIDNewItem,
                            const char16_t* lpszNewItem) {
    return win::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}
