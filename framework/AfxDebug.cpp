#include "AfxDebug.h"

#include <cstdio>
#include <cstdlib>

namespace {
AFX_ASSERT_HOOK g_pfnAssertHook = NULL;

#ifdef _WIN32
BOOL AskAboutAssertion(LPCSTR lpszFileName, int nLine) {
    char szProgram[MAX_PATH] = "";
    ::GetModuleFileNameA(NULL, szProgram, MAX_PATH - 1);
    char szText[1024];
    std::snprintf(szText, sizeof szText,
                  "Program: %s\nFile: %s\nLine: %d\n\n"
                  "(Press Retry to debug the application)",
                  szProgram, lpszFileName, nLine);
    switch (::MessageBoxA(NULL, szText, "Debug Assertion Failed!",
                          MB_ABORTRETRYIGNORE | MB_ICONHAND | MB_SETFOREGROUND | MB_TASKMODAL)) {
    case IDRETRY:
        return TRUE;
    case IDIGNORE:
        return FALSE;
    default: // Abort, or no box could be shown: a caller error must not pass unnoticed.
        ::ExitProcess(3);
    }
}
#else
BOOL AskAboutAssertion(LPCSTR lpszFileName, int nLine) {
    std::fprintf(stderr, "Debug Assertion Failed! File: %s Line: %d\n", lpszFileName, nLine);
    std::abort();
}
#endif
} // namespace

AFX_ASSERT_HOOK AfxSetAssertHook(AFX_ASSERT_HOOK pfnHook) {
    AFX_ASSERT_HOOK pfnOld = g_pfnAssertHook;
    g_pfnAssertHook = pfnHook;
    return pfnOld;
}

BOOL AfxAssertFailedLine(LPCSTR lpszFileName, int nLine) {
    if (g_pfnAssertHook != NULL)
        return g_pfnAssertHook(lpszFileName, nLine);
    return AskAboutAssertion(lpszFileName, nLine);
}

void AfxDebugBreak() {
#ifdef _WIN32
    ::DebugBreak();
#else
    __builtin_trap();
#endif
}

BOOL AfxIsValidAddress(const void* lp, UINT nBytes, BOOL bReadWrite) {
    if (nBytes == 0)
        return TRUE;
    if (lp == NULL)
        return FALSE;
#ifdef _WIN32
    return !::IsBadReadPtr(lp, nBytes) &&
           (!bReadWrite || !::IsBadWritePtr(const_cast<void*>(lp), nBytes));
#else
    (void)bReadWrite;
    return TRUE;
#endif
}
