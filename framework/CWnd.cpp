#include "CWnd.h"

CWnd::~CWnd() {
    DestroyWindow();
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == NULL)
        return FALSE;
    BOOL bResult = ::DestroyWindow(m_hWnd);
    m_hWnd = NULL;
    return bResult;
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}
