// Dialog boxes made from a template resource. DoModal runs one through the platform's dialog
// manager; its messages reach the object through the framework's message maps like any window's.
#pragma once

#include "CWnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)

public:
    // The dialog on template |nIDTemplate|, owned by |pParentWnd| (NULL: the application's main
    // window, if it has one when the dialog runs).
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);

    // Creates the dialog from its template in the resource module, runs it modally and returns
    // the result given to EndDialog (IDOK, IDCANCEL, ...), or -1 when the template is missing or
    // the window could not be created. The object is detached again when it returns.
    virtual INT_PTR DoModal();

    // Called once the window and its controls exist, before it shows: exchanges data into the
    // controls. TRUE lets the dialog manager set the focus.
    virtual BOOL OnInitDialog();

    LPCTSTR m_lpszTemplateName;
    // The dialog's help context, its template id, kept for code that offers help on it.
    UINT m_nIDHelp;
    CWnd* m_pParentWnd;

protected:
    // The window that owns the dialog while it runs, and is disabled meanwhile: the parent, else
    // the application's main window, when it has a window; NULL for none.
    HWND GetSafeOwner() const;
    // Ends the modal run with |nResult| as DoModal's result.
    void EndDialog(int nResult);
    // The OK button: exchanges data into the members, then ends with IDOK if that held.
    virtual void OnOK();
    // The Cancel button, Escape or closing the box: ends with IDCANCEL.
    virtual void OnCancel();

    DECLARE_MESSAGE_MAP()
};
