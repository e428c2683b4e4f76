#include "CMemFile.h"

#include "CException.h"

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) : m_nGrowBytes(0) {
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile() {
    Close();
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) {
    ASSERT(m_lpBuffer == NULL);
    m_lpBuffer = lpBuffer;
    m_nBufferSize = nBufferSize;
    m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
    m_nGrowBytes = nGrowBytes;
    m_nPosition = 0;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach() {
    BYTE* lpBuffer = m_lpBuffer;
    m_lpBuffer = NULL;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_nPosition = 0;
    return lpBuffer;
}

LONG CMemFile::Seek(LONG lOff, UINT nFrom) {
    ASSERT(nFrom == begin || nFrom == current || nFrom == end);
    long long llBase = nFrom == begin ? 0 : nFrom == current ? m_nPosition : m_nFileSize;
    long long llNewPosition = llBase + lOff;
    if (llNewPosition < 0 || llNewPosition > 0x7FFFFFFF)
        AfxThrowFileException(CFileException::badSeek);
    m_nPosition = static_cast<DWORD>(llNewPosition);
    return static_cast<LONG>(m_nPosition);
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
    if (nCount == 0 || m_nPosition >= m_nFileSize)
        return 0;
    ASSERT(lpBuf != NULL);
    UINT nRead = nCount < m_nFileSize - m_nPosition ? nCount : m_nFileSize - m_nPosition;
    std::memcpy(lpBuf, m_lpBuffer + m_nPosition, nRead);
    m_nPosition += nRead;
    return nRead;
}

void CMemFile::Write(const void* lpBuf, UINT nCount) {
    if (nCount == 0)
        return;
    ASSERT(lpBuf != NULL);
    unsigned long long ullEnd = static_cast<unsigned long long>(m_nPosition) + nCount;
    if (ullEnd > 0xFFFFFFFF)
        AfxThrowMemoryException();
    if (ullEnd > m_nBufferSize)
        GrowFile(static_cast<DWORD>(ullEnd));
    // A write beyond the end after a Seek leaves zeros in the gap, not old bytes.
    if (m_nPosition > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition = static_cast<DWORD>(ullEnd);
    if (m_nPosition > m_nFileSize)
        m_nFileSize = m_nPosition;
}

// Grows the block to the first multiple of the grow-by step above its size that holds
// |dwNewLength| bytes.
void CMemFile::GrowFile(DWORD dwNewLength) {
    if (m_nGrowBytes == 0)
        AfxThrowMemoryException();
    // In 64 bits throughout: a step near 4 GB would wrap a 32-bit sum to a block too small.
    unsigned long long ullGrowBytes = m_nGrowBytes;
    unsigned long long ullNewSize = m_nBufferSize;
    ullNewSize += (dwNewLength - m_nBufferSize + ullGrowBytes - 1) / ullGrowBytes * ullGrowBytes;
    if (ullNewSize > 0xFFFFFFFF)
        AfxThrowMemoryException();
    BYTE* lpNewBuffer = static_cast<BYTE*>(std::realloc(m_lpBuffer, ullNewSize));
    if (lpNewBuffer == NULL)
        AfxThrowMemoryException();
    m_lpBuffer = lpNewBuffer;
    m_nBufferSize = static_cast<DWORD>(ullNewSize);
}

void CMemFile::Close() {
    if (m_bAutoDelete)
        std::free(m_lpBuffer);
    m_lpBuffer = NULL;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_nPosition = 0;
    m_bAutoDelete = TRUE;
}
