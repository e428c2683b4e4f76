// A menu: the framework object that owns a menu handle, destroying the menu with itself unless it
// was detached first.
#pragma once

#include "CObject.h"

class CMenu : public CObject {
    DECLARE_DYNAMIC(CMenu)

public:
    CMenu() = default;
    ~CMenu() override;

    HMENU GetSafeHmenu() const { return m_hMenu; }
    // Takes ownership of |hNewMenu|; the object must hold none. TRUE when it holds one now.
    BOOL Attach(HMENU hNewMenu);
    // Gives up the menu handle without destroying the menu and returns it.
    HMENU Detach();
    // Destroys the menu held, if any; TRUE when it was destroyed.
    BOOL DestroyMenu();

    // Appends an item: a separator (MF_SEPARATOR), or a string (MF_STRING) |lpszNewItem| that
    // sends command |nIDNewItem|. TRUE on success; the menu is unchanged on failure.
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = NULL);

    HMENU m_hMenu = NULL;
};
