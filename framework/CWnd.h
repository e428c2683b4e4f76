// Windows and dialogs: the framework object that stands for a window, which may or may not
// exist on the screen (m_hWnd is NULL until it does).
#pragma once

#include "CCmdTarget.h"

class CWnd : public CCmdTarget {
public:
    ~CWnd() override;

    HWND GetSafeHwnd() const { return m_hWnd; }
    // Destroys the window if there is one; TRUE when it was destroyed.
    virtual BOOL DestroyWindow();

    HWND m_hWnd = NULL;
};

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
};
