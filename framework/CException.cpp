#include "CException.h"

#include <new>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

void CException::Delete() {
    if (m_bAutoDelete)
        delete this;
}

// The objects are made before any code runs (constant initialisation, which the compiler checks
// here), so that a throw from any thread, or from another file's static initialisation, finds
// them whole: a function's static would be made by its first thrower, with no guard.
#ifdef __clang__
#define AFX_CONSTINIT [[clang::require_constant_initialization]]
#else
#define AFX_CONSTINIT __constinit
#endif
namespace {
AFX_CONSTINIT CMemoryException s_memoryException(FALSE);
AFX_CONSTINIT CInvalidArgException s_invalidArgException(FALSE);
} // namespace

void AfxThrowMemoryException() {
    throw &s_memoryException;
}

void AfxThrowInvalidArgException() {
    throw &s_invalidArgException;
}

// Without the memory for the exception object, the memory exception says what went wrong.
void AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName) {
    CFileException* pException = new (std::nothrow) CFileException(cause, lOsError, lpszFileName);
    if (pException == NULL)
        AfxThrowMemoryException();
    throw pException;
}

void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName) {
    CArchiveException* pException = new (std::nothrow) CArchiveException(cause, lpszArchiveName);
    if (pException == NULL)
        AfxThrowMemoryException();
    throw pException;
}
