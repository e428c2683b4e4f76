// A program on the framework whose start-up the tests watch: its command line says what its
// InitInstance does.
#include "Afx.h"
#include "TestSupport.h"

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

int g_nRefused = 0;

void* __cdecl RefuseAllocation(size_t) {
    g_nRefused++;
    return NULL;
}

// Throws while the C runtime's malloc refuses every allocation: the C++ runtime then takes the
// exception object from its emergency pool, under its mutex (from GCC 13 on, the framework's).
// TRUE when the throw was caught and malloc had refused it.
BOOL ThrowWithoutMemory() {
    test_support::ImportPatch refusal("msvcrt.dll", "malloc",
                                      reinterpret_cast<void*>(RefuseAllocation));
    try {
        throw 42;
    } catch (int) {
        return refusal.Patched() && g_nRefused > 0;
    }
}

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
        if (std::strstr(lpszCommand, " pool") != NULL && ThrowWithoutMemory())
            m_nExitCode = 43;
        return FALSE;
    }
    // Tells the test, through the exit code, whether the main window was destroyed first, or
    // the throw without memory was caught.
    int ExitInstance() override { return m_wndMain.m_bDestroyed ? 42 : m_nExitCode; }

private:
    CProbeWnd m_wndMain;
    int m_nExitCode = 0;
};

CProbeApp theApp;
} // namespace
