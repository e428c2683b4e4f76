// The application object and the framework's start-up. A program defines exactly one object of a
// class derived from CWinApp; WinMain calls its InitInstance and, when that returns FALSE, runs
// no message loop: the end-of-run steps (ExitInstance) run and the process exits.
#pragma once

#include "CString.h"
#include "CWnd.h"

class COccManager;

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)

public:
    // |lpszAppName| NULL names the application after its executable (file name, no extension).
    explicit CWinApp(LPCTSTR lpszAppName = NULL);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    // The message loop; returns the exit code.
    virtual int Run();
    // The end-of-run steps; returns the process's exit code.
    virtual int ExitInstance();
    // Shows the application message box: captioned with the application's name, owned by the
    // main window when it exists.
    virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);

    // The platform draws every control in 3-D; kept so that programs can ask for it. TRUE.
    BOOL Enable3dControls();

    // Icon |nIDResource| of the resource module, at the system's big icon size; NULL when there
    // is none. The platform shares the handle: it is not destroyed.
    HICON LoadIcon(UINT nIDResource) const;

    void OnHelp();

    LPCTSTR m_pszAppName = NULL;
    HINSTANCE m_hInstance = NULL;
    CWnd* m_pMainWnd = NULL;

    DECLARE_MESSAGE_MAP()

private:
    friend int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);
    void SetCurrentHandles(HINSTANCE hInstance);

    CString m_strAppName;
};

// The program's one application object.
CWinApp* AfxGetApp();

// The application's main window object, or NULL when there is no application or main window.
CWnd* AfxGetMainWnd();

// The application message box. As the framework does, an MB_OK box without an icon of its own
// gets the exclamation icon. Returns the button pressed.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);

// Containment of ActiveX controls; no control of this system needs it, so it does nothing.
void AfxEnableControlContainer(COccManager* pOccManager = NULL);

int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);
