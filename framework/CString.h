// The framework's 8-bit string in the ANSI code page. Always zero-terminated, and may hold zero
// characters of its own: GetLength counts them, though the text seen through the pointer ends at
// the first. Memory that cannot be had throws CMemoryException.
#pragma once

#include "AfxAllocator.h"
#include "AfxDebug.h"

#include <string>

class CString {
public:
    CString() = default;
    CString(LPCSTR lpsz);
    // The first |nLength| characters of |lpch|, zeros among them included.
    CString(LPCSTR lpch, int nLength);

    CString& operator=(LPCSTR lpsz);
    CString& operator+=(const CString& str);
    CString& operator+=(LPCSTR lpsz);
    CString& operator+=(char ch);

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    char GetAt(int nIndex) const;
    char operator[](int nIndex) const { return GetAt(nIndex); }
    operator LPCTSTR() const { return m_str.c_str(); }

    // Room for at least |nMinBufLength| characters and a terminator. The text stays as it was;
    // ReleaseBuffer ends the direct writing.
    LPTSTR GetBuffer(int nMinBufLength);
    // |nNewLength| -1 takes the text up to its first zero, but never reads beyond the buffer that
    // GetBuffer handed out: a buffer filled without a terminator keeps all of its characters.
    void ReleaseBuffer(int nNewLength = -1);

    int ReverseFind(char ch) const;
    CString Left(int nCount) const;
    // Fold letters as the ANSI code page does on Windows (a double-byte character stays whole);
    // the portable build folds by the C locale.
    void MakeUpper();
    void MakeLower();

    int Compare(LPCTSTR lpsz) const;

#ifdef _WIN32
    // Replaces the text by string |nID| of the resource module, in the ANSI code page. TRUE when
    // the string exists and is not empty; otherwise the text is empty.
    BOOL LoadString(UINT nID);
#endif

private:
    // More characters than the string can hold throw CMemoryException, as memory that cannot be
    // had does, rather than the standard library's std::length_error. It holds at most INT_MAX,
    // which GetLength can count (on 32-bit Windows the library's limit lies below).
    void CheckLength(size_t nLength) const;

    std::basic_string<char, std::char_traits<char>, CAfxAllocator<char>> m_str;
};

// Concatenation. The character forms matter: without them |str + '\\'| would compile, through
// the conversion to LPCTSTR, into pointer arithmetic.
CString operator+(const CString& str1, const CString& str2);
CString operator+(const CString& str, LPCTSTR lpsz);
CString operator+(LPCTSTR lpsz, const CString& str);
CString operator+(const CString& str, char ch);
CString operator+(char ch, const CString& str);

inline bool operator==(const CString& s1, LPCTSTR s2) {
    return s1.Compare(s2) == 0;
}
inline bool operator==(LPCTSTR s1, const CString& s2) {
    return s2.Compare(s1) == 0;
}
inline bool operator==(const CString& s1, const CString& s2) {
    return s1.Compare(s2) == 0;
}
inline bool operator!=(const CString& s1, LPCTSTR s2) {
    return s1.Compare(s2) != 0;
}
inline bool operator!=(LPCTSTR s1, const CString& s2) {
    return s2.Compare(s1) != 0;
}
inline bool operator!=(const CString& s1, const CString& s2) {
    return s1.Compare(s2) != 0;
}
