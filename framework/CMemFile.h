// A file whose bytes live in one block of memory, which it grows by reallocation in steps of
// its grow-by size. A block handed in by the caller (the second constructor, Attach) stays the
// caller's: the file may reallocate it while writing, but never frees it; Detach hands the
// current block back. A block that the file allocated itself it frees in Close.
#pragma once

#include "CFile.h"

class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    // An empty file that allocates its own block, growing in steps of |nGrowBytes|.
    explicit CMemFile(UINT nGrowBytes = 1024);
    // A file over the caller's |lpBuffer| of |nBufferSize| bytes: see Attach.
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    // Works on the caller's |lpBuffer| from now on. With |nGrowBytes| 0 the file holds the
    // buffer's |nBufferSize| bytes to read and cannot grow beyond them; otherwise it starts
    // empty and reallocates the buffer (which must come from malloc or calloc) as it grows.
    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // Hands the block back to the caller, who frees it, and leaves the file empty.
    BYTE* Detach();

    DWORD GetPosition() const override { return m_nPosition; }
    LONG Seek(LONG lOff, UINT nFrom) override;
    DWORD GetLength() const override { return m_nFileSize; }
    UINT Read(void* lpBuf, UINT nCount) override;
    // Throws CMemoryException when the file cannot grow (grow-by 0, or no memory).
    void Write(const void* lpBuf, UINT nCount) override;
    void Flush() override {}
    // Frees the block if the file allocated it, and leaves the file empty.
    void Close() override;

private:
    void GrowFile(DWORD dwNewLength);

    UINT m_nGrowBytes;
    DWORD m_nPosition = 0;
    DWORD m_nBufferSize = 0;
    DWORD m_nFileSize = 0;
    BYTE* m_lpBuffer = NULL;
    BOOL m_bAutoDelete = TRUE;
};
