#include "CException.h"

#include <new>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

void CException::Delete() {
    if (m_bAutoDelete)
        delete this;
}

void AfxThrowMemoryException() {
    static CMemoryException s_memoryException(FALSE);
    throw &s_memoryException;
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
