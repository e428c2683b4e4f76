#include "CWinApp.h"

#include "AfxModule.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

namespace {
CWinApp* g_pApp = NULL;

// The executable's file name without its extension.
CString ExecutableTitle() {
    CString strPath;
    for (DWORD dwSize = MAX_PATH;; dwSize *= 2) {
        DWORD dwLength = ::GetModuleFileNameA(NULL, strPath.GetBuffer(dwSize), dwSize);
        if (dwLength < dwSize) {
            strPath.ReleaseBuffer(dwLength);
            break;
        }
    }
    CString strTitle(static_cast<LPCTSTR>(strPath) + strPath.ReverseFind('\\') + 1);
    int nDot = strTitle.ReverseFind('.');
    return nDot < 0 ? strTitle : strTitle.Left(nDot);
}
} // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_pszAppName(lpszAppName) {
    ASSERT(g_pApp == NULL);
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = NULL;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::Run() {
    MSG msg;
    while (::GetMessageA(&msg, NULL, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

int CWinApp::ExitInstance() {
    return 0;
}

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT) {
    HWND hWndOwner = m_pMainWnd != NULL ? m_pMainWnd->GetSafeHwnd() : NULL;
    if ((nType & MB_ICONMASK) == 0 && (nType & MB_TYPEMASK) == MB_OK)
        nType |= MB_ICONEXCLAMATION;
    return ::MessageBoxA(hWndOwner, lpszPrompt, m_pszAppName, nType);
}

BOOL CWinApp::Enable3dControls() {
    return TRUE;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
}

void CWinApp::OnHelp() {}

void CWinApp::SetCurrentHandles(HINSTANCE hInstance) {
    m_hInstance = hInstance;
    AfxSetInstanceHandle(hInstance);
    if (m_pszAppName == NULL) {
        m_strAppName = ExecutableTitle();
        m_pszAppName = m_strAppName;
    }
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWnd* AfxGetMainWnd() {
    CWinApp* pApp = AfxGetApp();
    return pApp != NULL ? pApp->m_pMainWnd : NULL;
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) {
    CWinApp* pApp = AfxGetApp();
    ASSERT(pApp != NULL);
    return pApp->DoMessageBox(lpszText, nType, nIDHelp);
}

void AfxEnableControlContainer(COccManager*) {}

int AfxWinMain(HINSTANCE hInstance, LPSTR, int) {
    CWinApp* pApp = AfxGetApp();
    ASSERT(pApp != NULL);
    pApp->SetCurrentHandles(hInstance);
    if (pApp->InitInstance())
        return pApp->Run();
    // No message loop: a main window left behind by the initialisation goes first.
    if (pApp->m_pMainWnd != NULL)
        pApp->m_pMainWnd->DestroyWindow();
    return pApp->ExitInstance();
}
