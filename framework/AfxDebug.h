// Debug assertions. In a debug build (_DEBUG) a failed ASSERT names its source file and line and
// offers to break into the debugger; a release build compiles the check away and goes on.
#pragma once

#include "AfxTypes.h"

// Called instead of the assertion box when set. Returns TRUE to break into the debugger, FALSE
// to go on after the assertion. Lets a test observe an assertion without a box on the screen.
typedef BOOL (*AFX_ASSERT_HOOK)(LPCSTR lpszFileName, int nLine);

// Installs |pfnHook| (NULL restores the box) and returns the hook that was installed before.
AFX_ASSERT_HOOK AfxSetAssertHook(AFX_ASSERT_HOOK pfnHook);

// Reports a failed assertion: through the hook when one is set, otherwise with a box offering
// Abort (ends the process with exit code 3), Retry (returns TRUE: break) and Ignore (FALSE).
BOOL AfxAssertFailedLine(LPCSTR lpszFileName, int nLine);

void AfxDebugBreak();

// TRUE when |nBytes| bytes from |lp| can be read (and written, if |bReadWrite|).
BOOL AfxIsValidAddress(const void* lp, UINT nBytes, BOOL bReadWrite = TRUE);

#ifdef _DEBUG
#define ASSERT(f)                                                                                  \
    do {                                                                                           \
        if (!(f) && AfxAssertFailedLine(__FILE__, __LINE__))                                       \
            AfxDebugBreak();                                                                       \
    } while (0)
#else
#define ASSERT(f) ((void)0)
#endif
