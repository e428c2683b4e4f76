#include "CDC.h"

#include "CWnd.h"

IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)

CDC::~CDC() {
    DeleteDC();
}

HDC CDC::Detach() {
    HDC hDC = m_hDC;
    m_hDC = NULL;
    return hDC;
}

BOOL CDC::DeleteDC() {
    if (m_hDC == NULL)
        return FALSE;
    return ::DeleteDC(Detach());
}

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) {
    ASSERT(m_hDC != NULL);
    return ::DrawIcon(m_hDC, x, y, hIcon);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd()) {
    ASSERT(::IsWindow(m_hWnd));
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    Detach(); // EndPaint gave it back
}
