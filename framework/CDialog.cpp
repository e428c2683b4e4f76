#include "CDialog.h"

#include "AfxModule.h"
#include "CWinApp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

namespace {
// The dialog procedure that the dialog manager calls for the platform's part of each message;
// the object's own handling has already run in the framework's window procedure.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog* pDlg = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    return pDlg != NULL ? pDlg->OnInitDialog() : TRUE;
}
} // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, CDialog::OnOK)
ON_COMMAND(IDCANCEL, CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_nIDHelp(nIDTemplate),
      m_pParentWnd(pParentWnd) {}

HWND CDialog::GetSafeOwner() const {
    CWnd* pOwner = m_pParentWnd != NULL ? m_pParentWnd : AfxGetMainWnd();
    HWND hWndOwner = pOwner != NULL && pOwner != this ? pOwner->GetSafeHwnd() : NULL;
    // A popup is owned by a top-level window, never by a child.
    while (hWndOwner != NULL && (::GetWindowLongA(hWndOwner, GWL_STYLE) & WS_CHILD))
        hWndOwner = ::GetParent(hWndOwner);
    return hWndOwner;
}

INT_PTR CDialog::DoModal() {
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceA(hInst, m_lpszTemplateName, RT_DIALOG);
    HGLOBAL hTemplate = hResource != NULL ? ::LoadResource(hInst, hResource) : NULL;
    auto lpTemplate = static_cast<LPCDLGTEMPLATEW>(::LockResource(hTemplate));
    ASSERT(lpTemplate != NULL);
    if (lpTemplate == NULL)
        return -1;

    HWND hWndParent = GetSafeOwner();
    AfxHookWindowCreate(this);
    INT_PTR nResult = ::DialogBoxIndirectParamW(hInst, lpTemplate, hWndParent, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    // Creation failed after the window was attached, or the window outlived the run.
    if (m_hWnd != NULL)
        Detach();
    return nResult;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::EndDialog(int nResult) {
    ASSERT(::IsWindow(m_hWnd));
    ::EndDialog(m_hWnd, nResult);
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}
