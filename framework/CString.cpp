#include "CString.h"

#ifdef _WIN32
#include "AfxModule.h"
#endif

#include <cctype>
#include <climits>
#include <cstring>

CString::CString(LPCSTR lpsz) {
    *this = lpsz;
}

CString::CString(LPCSTR lpch, int nLength) {
    ASSERT(nLength >= 0);
    ASSERT(AfxIsValidAddress(lpch, nLength, FALSE));
    // A release build has no assertion: a length below zero takes nothing.
    CheckLength(nLength > 0 ? static_cast<size_t>(nLength) : 0);
    m_str.assign(lpch, nLength > 0 ? nLength : 0);
}

CString& CString::operator=(LPCSTR lpsz) {
    size_t nLength = lpsz != NULL ? std::strlen(lpsz) : 0;
    CheckLength(nLength);
    m_str.assign(lpsz != NULL ? lpsz : "", nLength);
    return *this;
}

CString& CString::operator+=(const CString& str) {
    CheckLength(m_str.size() + str.m_str.size());
    m_str += str.m_str;
    return *this;
}

CString& CString::operator+=(LPCSTR lpsz) {
    if (lpsz != NULL) {
        CheckLength(m_str.size() + std::strlen(lpsz));
        m_str += lpsz;
    }
    return *this;
}

CString& CString::operator+=(char ch) {
    CheckLength(m_str.size() + 1);
    m_str += ch;
    return *this;
}

CString operator+(const CString& str1, const CString& str2) {
    CString strResult(str1);
    strResult += str2;
    return strResult;
}

CString operator+(const CString& str, LPCTSTR lpsz) {
    CString strResult(str);
    strResult += lpsz;
    return strResult;
}

CString operator+(LPCTSTR lpsz, const CString& str) {
    CString strResult(lpsz);
    strResult += str;
    return strResult;
}

CString operator+(const CString& str, char ch) {
    CString strResult(str);
    strResult += ch;
    return strResult;
}

CString operator+(char ch, const CString& str) {
    CString strResult;
    strResult += ch;
    strResult += str;
    return strResult;
}

void CString::CheckLength(size_t nLength) const {
    if (nLength > static_cast<size_t>(INT_MAX) || nLength > m_str.max_size())
        AfxThrowMemoryException();
}

char CString::GetAt(int nIndex) const {
    ASSERT(nIndex >= 0 && nIndex < GetLength());
    return m_str[nIndex];
}

LPTSTR CString::GetBuffer(int nMinBufLength) {
    ASSERT(nMinBufLength >= 0);
    CheckLength(nMinBufLength > 0 ? static_cast<size_t>(nMinBufLength) : 0);
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
    size_t nPos = m_str.rfind(ch);
    return nPos == m_str.npos ? -1 : static_cast<int>(nPos);
}

// A count below zero takes nothing, one beyond the end takes everything.
CString CString::Left(int nCount) const {
    if (nCount < 0)
        nCount = 0;
    CString strResult;
    strResult.m_str = m_str.substr(0, nCount);
    return strResult;
}

#ifdef _WIN32
// The platform folds whole characters of the ANSI code page, so a trail byte that looks like a
// letter is never changed on its own.
void CString::MakeUpper() {
    if (!m_str.empty())
        ::CharUpperBuffA(&m_str[0], static_cast<DWORD>(m_str.size()));
}

void CString::MakeLower() {
    if (!m_str.empty())
        ::CharLowerBuffA(&m_str[0], static_cast<DWORD>(m_str.size()));
}
#else
void CString::MakeUpper() {
    for (char& ch : m_str)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
}

void CString::MakeLower() {
    for (char& ch : m_str)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
}
#endif

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
