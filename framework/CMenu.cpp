#include "CMenu.h"

IMPLEMENT_DYNAMIC(CMenu, CObject)

CMenu::~CMenu() {
    DestroyMenu();
}

BOOL CMenu::Attach(HMENU hNewMenu) {
    ASSERT(m_hMenu == NULL);
    m_hMenu = hNewMenu;
    return m_hMenu != NULL;
}

HMENU CMenu::Detach() {
    HMENU hMenu = m_hMenu;
    m_hMenu = NULL;
    return hMenu;
}

BOOL CMenu::DestroyMenu() {
    if (m_hMenu == NULL)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    ASSERT(m_hMenu != NULL);
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}
