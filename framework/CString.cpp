#include "CString.h"

#ifdef _WIN32
#include "AfxModule.h"
#endif

#include <cctype>
#include <cstring>

CString::CString(LPCSTR lpsz) : m_str(lpsz != NULL ? lpsz : "") {}

CString::CString(LPCSTR lpch, int nLength) {
    ASSERT(nLength >= 0);
    ASSERT(AfxIsValidAddress(lpch, nLength, FALSE));
    m_str.assign(lpch, ::strnlen(lpch, nLength));
}

CString& CString::operator=(LPCSTR lpsz) {
    m_str = lpsz != NULL ? lpsz : "";
    return *this;
}

CString& CString::operator+=(const CString& str) {
    m_str += str.m_str;
    return *this;
}

CString& CString::operator+=(LPCSTR lpsz) {
    if (lpsz != NULL)
        m_str += lpsz;
    return *this;
}

char CString::GetAt(int nIndex) const {
    ASSERT(nIndex >= 0 && nIndex < GetLength());
    return m_str[nIndex];
}

LPTSTR CString::GetBuffer(int nMinBufLength) {
    ASSERT(nMinBufLength >= 0);
    if (nMinBufLength > GetLength())
        m_str.resize(nMinBufLength);
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength) {
    if (nNewLength == -1)
        nNewLength = static_cast<int>(::strnlen(m_str.data(), m_str.size()));
    ASSERT(nNewLength >= 0 && nNewLength <= GetLength());
    m_str.resize(nNewLength);
}

int CString::ReverseFind(char ch) const {
    std::string::size_type nPos = m_str.rfind(ch);
    return nPos == std::string::npos ? -1 : static_cast<int>(nPos);
}

// A count below zero takes nothing, one beyond the end takes everything.
CString CString::Left(int nCount) const {
    if (nCount < 0)
        nCount = 0;
    CString strResult;
    strResult.m_str = m_str.substr(0, nCount);
    return strResult;
}

void CString::MakeUpper() {
    for (char& ch : m_str)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
}

void CString::MakeLower() {
    for (char& ch : m_str)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
}

int CString::Compare(LPCTSTR lpsz) const {
    ASSERT(lpsz != NULL);
    return std::strcmp(m_str.c_str(), lpsz);
}

#ifdef _WIN32
BOOL CString::LoadString(UINT nID) {
    // LoadStringA cuts a string to the buffer: grow it until the string fits with room to spare.
    for (int nSize = 256;; nSize *= 2) {
        int nLength = ::LoadStringA(AfxGetResourceHandle(), nID, GetBuffer(nSize), nSize);
        if (nLength < nSize - 1) {
            ReleaseBuffer(nLength);
            return nLength > 0;
        }
    }
}
#endif
