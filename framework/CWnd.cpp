#include "CWnd.h"

#include "CDataExchange.h"

#include <map>

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

namespace {
// Per thread, as windows belong to the thread that made them.
// The map is reached through a plain pointer: a thread-local with a destructor makes the C++
// runtime register it per thread, which imports a function that Windows 2000 lacks. The map is
// made for a thread's first window and freed when its last window leaves it, so no thread's end
// has to free it: the programs' windows live on the main thread and are detached (WM_NCDESTROY,
// or ~CWnd) before it returns from WinMain.
typedef std::map<HWND, CWnd*> CHandleMap;
thread_local CHandleMap* t_pHandleMap = NULL;
thread_local MSG t_lastSentMsg = {};
thread_local CWnd* t_pWndInit = NULL;
thread_local HHOOK t_hHookOldCbtFilter = NULL;
} // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CWnd::~CWnd() {
    DestroyWindow();
    m_menuSystem.Detach(); // the window's system menu is the platform's, not ours
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (t_pHandleMap == NULL)
        return NULL;
    auto it = t_pHandleMap->find(hWnd);
    return it != t_pHandleMap->end() ? it->second : NULL;
}

BOOL CWnd::Attach(HWND hWndNew) {
    ASSERT(m_hWnd == NULL);
    ASSERT(FromHandlePermanent(hWndNew) == NULL);
    if (hWndNew == NULL)
        return FALSE;
    if (t_pHandleMap == NULL)
        t_pHandleMap = new CHandleMap;
    (*t_pHandleMap)[hWndNew] = this;
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != NULL && t_pHandleMap != NULL) {
        t_pHandleMap->erase(hWnd);
        if (t_pHandleMap->empty()) {
            delete t_pHandleMap;
            t_pHandleMap = NULL;
        }
    }
    m_hWnd = NULL;
    return hWnd;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == NULL)
        return FALSE;
    BOOL bResult = ::DestroyWindow(m_hWnd);
    // A window that never took the framework's procedure sends no WM_NCDESTROY here.
    if (m_hWnd != NULL)
        Detach();
    return bResult;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const {
    m_menuSystem.Detach();
    if (!m_menuSystem.Attach(::GetSystemMenu(m_hWnd, bRevert)))
        return NULL;
    return &m_menuSystem;
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

BOOL CWnd::IsIconic() const {
    return ::IsIconic(m_hWnd);
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    ::GetClientRect(m_hWnd, lpRect);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

// A window without members bound to controls exchanges nothing.
void CWnd::DoDataExchange(CDataExchange*) {}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 1;
        return TRUE;
    }

    const AFX_MSGMAP_ENTRY* lpEntry = NULL;
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != NULL && lpEntry == NULL;
         pMap = pMap->pfnGetBaseMap != NULL ? pMap->pfnGetBaseMap() : NULL)
        lpEntry = AfxFindMessageEntry(pMap->lpEntries, message, 0, 0);
    if (lpEntry == NULL)
        return FALSE;

    LRESULT lResult = 0;
    switch (lpEntry->nSig) {
    case AfxSig_vv:
        (this->*lpEntry->pfn)();
        break;
    case AfxSig_vwl:
        (this->*lpEntry->pfn_vwl)(static_cast<UINT>(wParam), lParam);
        break;
    case AfxSig_hv:
        lResult = reinterpret_cast<LRESULT>((this->*lpEntry->pfn_hv)());
        break;
    default:
        ASSERT(FALSE); // an entry whose signature the dispatcher does not know
        return FALSE;
    }
    *pResult = lResult;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    // Menus and accelerators (no control) send commands; a control sends its notification code.
    if (lParam == 0)
        nCode = CN_COMMAND;
    return OnCmdMsg(nID, nCode, NULL, NULL);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != NULL)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(t_lastSentMsg.message, t_lastSentMsg.wParam, t_lastSentMsg.lParam);
}

void CWnd::PostNcDestroy() {}

void CWnd::OnSysCommand(UINT, LPARAM) {
    Default();
}

void CWnd::OnPaint() {
    Default();
}

HCURSOR CWnd::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(Default());
}

void CWnd::OnNcDestroy() {
    // The platform ends the window with this message. After its processing, the window gets back
    // the procedure it had before the framework's, unless that processing replaced the procedure.
    LONG_PTR pfnWndProc = ::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC);
    Default();
    if (m_pfnSuper != NULL && ::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) == pfnWndProc)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = NULL;
    Detach();
    PostNcDestroy();
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    MSG oldState = t_lastSentMsg; // messages nest: a handler may send others
    t_lastSentMsg.hwnd = hWnd;
    t_lastSentMsg.message = nMsg;
    t_lastSentMsg.wParam = wParam;
    t_lastSentMsg.lParam = lParam;
    LRESULT lResult = pWnd->WindowProc(nMsg, wParam, lParam);
    t_lastSentMsg = oldState;
    return lResult;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == NULL)
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

namespace {
// The input-method system makes windows of its own on any thread that makes windows (on Korean,
// Japanese and Chinese systems), possibly while the window being waited for is made: they are
// the platform's, never the object's.
bool IsImeWindow(HWND hWnd) {
    if (::GetClassLongPtrW(hWnd, GCL_STYLE) & CS_IME)
        return true;
    WCHAR szClass[16] = L"";
    ::GetClassNameW(hWnd, szClass, 16);
    return ::lstrcmpiW(szClass, L"IME") == 0 || ::lstrcmpiW(szClass, L"MSCTFIME UI") == 0;
}

void RemoveCbtHook() {
    if (t_hHookOldCbtFilter != NULL) {
        ::UnhookWindowsHookEx(t_hHookOldCbtFilter);
        t_hHookOldCbtFilter = NULL;
    }
}
} // namespace

LRESULT CALLBACK AfxCbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam) {
    HWND hWnd = reinterpret_cast<HWND>(wParam);
    if (nCode != HCBT_CREATEWND || t_pWndInit == NULL || IsImeWindow(hWnd))
        return ::CallNextHookEx(t_hHookOldCbtFilter, nCode, wParam, lParam);

    CWnd* pWndInit = t_pWndInit;
    t_pWndInit = NULL; // only the first window: a dialog's controls follow it
    pWndInit->Attach(hWnd);
    pWndInit->m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    LRESULT lResult = ::CallNextHookEx(t_hHookOldCbtFilter, nCode, wParam, lParam);
    // Its work is done: no later window of the thread (a modal loop may run for long) pays for it.
    RemoveCbtHook();
    return lResult;
}

void AfxHookWindowCreate(CWnd* pWnd) {
    ASSERT(pWnd != NULL && pWnd->m_hWnd == NULL);
    if (t_hHookOldCbtFilter == NULL)
        t_hHookOldCbtFilter =
            ::SetWindowsHookExW(WH_CBT, AfxCbtFilterHook, NULL, ::GetCurrentThreadId());
    t_pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate() {
    RemoveCbtHook();
    BOOL bAttached = t_pWndInit == NULL;
    t_pWndInit = NULL;
    return bAttached;
}
