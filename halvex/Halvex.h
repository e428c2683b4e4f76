// The Halvex program: rewrites the power-management value EnhLANPwrMgmt of every network adapter
// instance in the registry as the string "1", and ends.
#pragma once

#include "Afx.h"

class CHalvexApp : public CWinApp {
public:
    CHalvexApp();

    // Runs the patch pass with the main dialog object standing as the main window; returns
    // FALSE, so that no message loop runs.
    BOOL InitInstance() override;

    // TRUE when m_strKeyPath opens below m_hRootKey with full access.
    BOOL CheckClassKey();

    // Rewrites EnhLANPwrMgmt as REG_SZ "1" on every adapter instance where it reads within 200
    // bytes; shows "Invalid Registry Key!!!" and changes nothing when the class key does not open
    // with full access.
    void PatchAdapters();

    CString m_strKeyPath;
    HKEY m_hRootKey = NULL;

    DECLARE_MESSAGE_MAP()
};

extern CHalvexApp theApp;
