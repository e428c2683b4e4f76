// The framework's archive: serialises objects into a file, or back out of it, in the
// framework's byte format (little-endian, unaligned), through a buffer of its own.
//
// A read that finds too few bytes throws CArchiveException::endOfFile; data that cannot be in
// the format throws CArchiveException::badIndex. Exceptions are thrown as pointers (CException.h).
#pragma once

#include "CException.h"
#include "CFile.h"
#include "CString.h"

class CDocument;
template <class TYPE, class ARG_TYPE> class CElementArray;

class CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2 };
    // The smallest buffer that the archive works through.
    static constexpr int kMinBufSize = 128;

    // Works on |pFile| in |nMode| (store or load) through a buffer of |nBufSize| bytes: the
    // caller's |lpBuf| when given, which stays the caller's, else one of its own. A size below
    // kMinBufSize (zero or less included) gets a buffer of its own of kMinBufSize bytes instead.
    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = NULL);
    // An archive not closed is closed here; a storing one flushes first unless the mode has
    // bNoFlushOnDelete. A failure to flush is dropped: a destructor may run while an exception
    // unwinds.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    CFile* GetFile() const { return m_pFile; }

    // Reads up to |nMax| bytes; returns how many it read (fewer only at the end of the data).
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    // Hands what a storing archive holds to the file; a loading archive gives back to the file
    // the bytes that it read ahead but did not use.
    void Flush();
    // Flushes a storing archive and lets go of the file; the file's length is final after it.
    void Close();
    // Lets go of the file without flushing.
    void Abort();

    // A count of elements: a 16-bit word below 0xFFFF, else the word 0xFFFF and 32 bits.
    void WriteCount(DWORD dwCount);
    DWORD ReadCount();

    CArchive& operator<<(BYTE by);
    CArchive& operator<<(WORD w);
    CArchive& operator<<(LONG l);
    CArchive& operator<<(DWORD dw);
    CArchive& operator>>(BYTE& by);
    CArchive& operator>>(WORD& w);
    CArchive& operator>>(LONG& l);
    CArchive& operator>>(DWORD& dw);

    // Context for the objects being serialised; NULL unless the caller sets it.
    CDocument* m_pDocument = NULL;

private:
    // Loads check their counts and lengths against these before they make room for the data.
    template <class TYPE, class ARG_TYPE> friend class CElementArray;
    friend CArchive& operator>>(CArchive& ar, CString& string);

    // The bytes that a loading archive can still read: those in its buffer and the file's rest.
    unsigned long long GetBytesLeft() const;
    // Reads exactly |nCount| bytes or throws endOfFile.
    void ReadExactly(void* lpBuf, UINT nCount);
    void FillBuffer();

    UINT m_nMode;
    CFile* m_pFile;
    UINT m_nBufSize;
    BOOL m_bUserBuf;
    BYTE* m_lpBufStart;
    BYTE* m_lpBufCur;
    BYTE* m_lpBufMax; // storing: the end of the buffer; loading: the end of the bytes in it
};

// A string: its length in the shortest form that holds it (one byte below 255, else 0xFF and a
// word below 0xFFFE, else 0xFF, 0xFFFF and 32 bits), then its characters.
CArchive& operator<<(CArchive& ar, const CString& string);
// Reads a string in that form, or one marked as wide (0xFF, 0xFFFE), whose 16-bit characters
// are converted to the ANSI code page. Zero characters are kept like any other.
CArchive& operator>>(CArchive& ar, CString& string);
