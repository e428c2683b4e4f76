#include "CArchive.h"

#include <climits>
#include <cstring>
#include <new>
#include <string>
#include <utility>

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_nMode(nMode), m_pFile(pFile) {
    ASSERT(pFile != NULL);
    // A storing archive with no room in its buffer would never get to write; too small a buffer
    // of the caller's is left alone rather than used beyond its end.
    if (nBufSize < kMinBufSize) {
        nBufSize = kMinBufSize;
        lpBuf = NULL;
    }
    m_nBufSize = static_cast<UINT>(nBufSize);
    m_bUserBuf = lpBuf != NULL;
    m_lpBufStart = static_cast<BYTE*>(lpBuf);
    if (m_lpBufStart == NULL) {
        m_lpBufStart = new (std::nothrow) BYTE[m_nBufSize];
        if (m_lpBufStart == NULL)
            AfxThrowMemoryException();
    }
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
}

CArchive::~CArchive() {
    if (m_pFile != NULL && (m_nMode & bNoFlushOnDelete) == 0) {
        try {
            Close();
        } catch (CException* e) {
            e->Delete();
        }
    }
    Abort();
    if (!m_bUserBuf)
        delete[] m_lpBufStart;
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
    if (!IsLoading())
        AfxThrowArchiveException(CArchiveException::writeOnly);
    BYTE* lpDest = static_cast<BYTE*>(lpBuf);
    UINT nRead = 0;
    while (nRead < nMax) {
        if (m_lpBufCur == m_lpBufMax) {
            FillBuffer();
            if (m_lpBufCur == m_lpBufMax)
                break; // the file has no more
        }
        UINT nAvailable = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
        UINT nChunk = nMax - nRead < nAvailable ? nMax - nRead : nAvailable;
        std::memcpy(lpDest + nRead, m_lpBufCur, nChunk);
        m_lpBufCur += nChunk;
        nRead += nChunk;
    }
    return nRead;
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
    if (IsLoading())
        AfxThrowArchiveException(CArchiveException::readOnly);
    const BYTE* lpSource = static_cast<const BYTE*>(lpBuf);
    while (nMax > 0) {
        if (m_lpBufCur == m_lpBufMax)
            Flush();
        UINT nRoom = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
        UINT nChunk = nMax < nRoom ? nMax : nRoom;
        std::memcpy(m_lpBufCur, lpSource, nChunk);
        m_lpBufCur += nChunk;
        lpSource += nChunk;
        nMax -= nChunk;
    }
}

void CArchive::FillBuffer() {
    ASSERT(m_pFile != NULL);
    UINT nRead = m_pFile->Read(m_lpBufStart, m_nBufSize);
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = m_lpBufStart + nRead;
}

void CArchive::Flush() {
    ASSERT(m_pFile != NULL);
    if (IsLoading()) {
        // Give back to the file what was read ahead but not used.
        if (m_lpBufCur != m_lpBufMax)
            m_pFile->Seek(-static_cast<LONG>(m_lpBufMax - m_lpBufCur), CFile::current);
        m_lpBufCur = m_lpBufMax = m_lpBufStart;
        return;
    }
    if (m_lpBufCur != m_lpBufStart) {
        m_pFile->Write(m_lpBufStart, static_cast<UINT>(m_lpBufCur - m_lpBufStart));
        m_lpBufCur = m_lpBufStart;
    }
    m_pFile->Flush();
}

void CArchive::Close() {
    Flush();
    m_pFile = NULL;
}

void CArchive::Abort() {
    m_pFile = NULL;
}

unsigned long long CArchive::GetBytesLeft() const {
    ASSERT(IsLoading() && m_pFile != NULL);
    DWORD dwLength = m_pFile->GetLength();
    DWORD dwPosition = m_pFile->GetPosition();
    return static_cast<unsigned long long>(m_lpBufMax - m_lpBufCur) +
           (dwLength > dwPosition ? dwLength - dwPosition : 0);
}

void CArchive::ReadExactly(void* lpBuf, UINT nCount) {
    if (Read(lpBuf, nCount) != nCount)
        AfxThrowArchiveException(CArchiveException::endOfFile);
}

void CArchive::WriteCount(DWORD dwCount) {
    if (dwCount < 0xFFFF) {
        *this << static_cast<WORD>(dwCount);
    } else {
        *this << static_cast<WORD>(0xFFFF) << dwCount;
    }
}

DWORD CArchive::ReadCount() {
    WORD wCount;
    *this >> wCount;
    if (wCount != 0xFFFF)
        return wCount;
    DWORD dwCount;
    *this >> dwCount;
    return dwCount;
}

CArchive& CArchive::operator<<(BYTE by) {
    Write(&by, 1);
    return *this;
}

CArchive& CArchive::operator<<(WORD w) {
    const BYTE ab[2] = {static_cast<BYTE>(w), static_cast<BYTE>(w >> 8)};
    Write(ab, sizeof ab);
    return *this;
}

CArchive& CArchive::operator<<(DWORD dw) {
    const BYTE ab[4] = {static_cast<BYTE>(dw), static_cast<BYTE>(dw >> 8),
                        static_cast<BYTE>(dw >> 16), static_cast<BYTE>(dw >> 24)};
    Write(ab, sizeof ab);
    return *this;
}

CArchive& CArchive::operator<<(LONG l) {
    return *this << static_cast<DWORD>(l);
}

CArchive& CArchive::operator>>(BYTE& by) {
    ReadExactly(&by, 1);
    return *this;
}

CArchive& CArchive::operator>>(WORD& w) {
    BYTE ab[2];
    ReadExactly(ab, sizeof ab);
    w = static_cast<WORD>(ab[0] | ab[1] << 8);
    return *this;
}

CArchive& CArchive::operator>>(DWORD& dw) {
    BYTE ab[4];
    ReadExactly(ab, sizeof ab);
    dw = static_cast<DWORD>(ab[0]) | static_cast<DWORD>(ab[1]) << 8 |
         static_cast<DWORD>(ab[2]) << 16 | static_cast<DWORD>(ab[3]) << 24;
    return *this;
}

CArchive& CArchive::operator>>(LONG& l) {
    DWORD dw;
    *this >> dw;
    l = static_cast<LONG>(dw);
    return *this;
}

namespace {
const BYTE kByteLengthLimit = 0xFF;
const WORD kWideMarker = 0xFFFE;
const WORD kWordLengthLimit = 0xFFFF;

// The length of a stored string in characters; |bWide| tells whether they are 16-bit.
DWORD ReadStringLength(CArchive& ar, bool& bWide) {
    bWide = false;
    BYTE byLength;
    ar >> byLength;
    if (byLength < kByteLengthLimit)
        return byLength;
    WORD wLength;
    ar >> wLength;
    if (wLength == kWideMarker) {
        bWide = true;
        ar >> byLength;
        if (byLength < kByteLengthLimit)
            return byLength;
        ar >> wLength;
        // A string is marked wide once; a second marker is not in the format.
        if (wLength == kWideMarker)
            AfxThrowArchiveException(CArchiveException::badIndex);
    }
    if (wLength < kWordLengthLimit)
        return wLength;
    DWORD dwLength;
    ar >> dwLength;
    return dwLength;
}

// The text of little-endian 16-bit characters in the ANSI code page; a character that the code
// page lacks becomes '?'.
std::string AnsiFromWide(const CString& strWide) {
    std::wstring strChars;
    for (int i = 0; i + 1 < strWide.GetLength(); i += 2)
        strChars += static_cast<wchar_t>(static_cast<BYTE>(strWide[i]) |
                                         static_cast<BYTE>(strWide[i + 1]) << 8);
    if (strChars.empty())
        return std::string();
#ifdef _WIN32
    int nChars = static_cast<int>(strChars.size());
    int nBytes = ::WideCharToMultiByte(CP_ACP, 0, strChars.data(), nChars, NULL, 0, NULL, NULL);
    std::string strAnsi(nBytes, '\0');
    ::WideCharToMultiByte(CP_ACP, 0, strChars.data(), nChars, &strAnsi[0], nBytes, NULL, NULL);
    return strAnsi;
#else
    // Off Windows the ANSI code page is taken as Latin-1.
    std::string strAnsi;
    for (wchar_t ch : strChars)
        strAnsi += ch < 0x100 ? static_cast<char>(ch) : '?';
    return strAnsi;
#endif
}
} // namespace

CArchive& operator<<(CArchive& ar, const CString& string) {
    DWORD dwLength = static_cast<DWORD>(string.GetLength());
    if (dwLength < kByteLengthLimit) {
        ar << static_cast<BYTE>(dwLength);
    } else if (dwLength < kWideMarker) {
        ar << kByteLengthLimit << static_cast<WORD>(dwLength);
    } else {
        ar << kByteLengthLimit << kWordLengthLimit << dwLength;
    }
    ar.Write(static_cast<LPCTSTR>(string), dwLength);
    return ar;
}

CArchive& operator>>(CArchive& ar, CString& string) {
    bool bWide;
    DWORD dwLength = ReadStringLength(ar, bWide);
    unsigned long long ullBytes = static_cast<unsigned long long>(dwLength) * (bWide ? 2 : 1);
    // Memory only for bytes that are there: a length beyond them ends the data before it.
    if (ullBytes > ar.GetBytesLeft())
        AfxThrowArchiveException(CArchiveException::endOfFile);
    if (ullBytes > INT_MAX)
        AfxThrowMemoryException(); // more than a string holds
    int nBytes = static_cast<int>(ullBytes);
    CString strRead;
    ar.ReadExactly(strRead.GetBuffer(nBytes), static_cast<UINT>(nBytes));
    strRead.ReleaseBuffer(nBytes);
    if (!bWide) {
        string = std::move(strRead);
        return ar;
    }
    try {
        std::string strAnsi = AnsiFromWide(strRead);
        string = CString(strAnsi.data(), static_cast<int>(strAnsi.size()));
    } catch (const std::bad_alloc&) {
        AfxThrowMemoryException();
    }
    return ar;
}
