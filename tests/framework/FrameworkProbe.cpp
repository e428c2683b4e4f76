// A program on the framework whose start-up the tests watch: its command line says what its
// InitInstance does.
#include "Afx.h"

#include <cstring>

namespace {
class CProbeWnd : public CWnd {
public:
    BOOL DestroyWindow() override {
        m_bDestroyed = TRUE;
        return TRUE;
    }
    BOOL m_bDestroyed = FALSE;
};

class CProbeApp : public CWinApp {
public:
    BOOL InitInstance() override {
        LPCSTR lpszCommand = ::GetCommandLineA();
        if (std::strstr(lpszCommand, " box") != NULL)
            AfxMessageBox("Probe text");
        if (std::strstr(lpszCommand, " assert") != NULL)
            ASSERT(lpszCommand == NULL);
        if (std::strstr(lpszCommand, " mainwnd") != NULL)
            m_pMainWnd = &m_wndMain;
        return FALSE;
    }
    // Tells the test, through the exit code, whether the main window was destroyed first.
    int ExitInstance() override { return m_wndMain.m_bDestroyed ? 42 : 0; }

private:
    CProbeWnd m_wndMain;
};

CProbeApp theApp;
} // namespace
