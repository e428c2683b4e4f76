// The framework's exceptions. They are thrown as pointers (throw new ...), caught as CException*
// and released by the catcher with Delete:
//     try { ... } catch (CException* e) { e->Delete(); }
#pragma once

#include "CObject.h"
#include "CString.h"

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    // |bAutoDelete| FALSE for an object that is not on the heap: Delete leaves it alone.
    constexpr explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}

    // Ends a caught exception: deletes it when it lives on the heap.
    void Delete();

    BOOL m_bAutoDelete;
};

// Memory could not be had. Thrown as one preallocated object, since there may be no memory left
// to make another; Delete leaves it alone.
class CMemoryException : public CException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    constexpr explicit CMemoryException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
};

// An argument that no call could take: an index outside an array, a count below one. Thrown,
// as the memory exception is, as one preallocated object; Delete leaves it alone.
class CInvalidArgException : public CException {
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    constexpr explicit CInvalidArgException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
};

// A file operation failed; |m_cause| says why.
class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        generic,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszFileName = NULL)
        : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName) {}

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

// Serialising through an archive failed; |m_cause| says why.
class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum {
        none,
        generic,
        readOnly,  // written to an archive that loads
        endOfFile, // the data ended before the object did
        writeOnly, // read from an archive that stores
        badIndex,  // the data is not in the archive's format
        badClass,
        badSchema
    };

    explicit CArchiveException(int cause = none, LPCTSTR lpszArchiveName = NULL)
        : m_cause(cause), m_strFileName(lpszArchiveName) {}

    int m_cause;
    CString m_strFileName;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowInvalidArgException();
// An argument that must hold |cond|: the debug build asserts, and both builds then throw
// CInvalidArgException rather than go on with it.
#define ENSURE_ARG(cond)                                                                           \
    do {                                                                                           \
        ASSERT(cond);                                                                              \
        if (!(cond))                                                                               \
            AfxThrowInvalidArgException();                                                         \
    } while (0)
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCTSTR lpszFileName = NULL);
[[noreturn]] void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = NULL);
