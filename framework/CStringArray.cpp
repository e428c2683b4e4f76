#include "CStringArray.h"

void CStringArray::SetSize(int nNewSize) {
    ASSERT(nNewSize >= 0);
    m_aStrings.resize(nNewSize);
}

const CString& CStringArray::GetAt(int nIndex) const {
    ASSERT(nIndex >= 0 && nIndex < GetSize());
    return m_aStrings[nIndex];
}

CString& CStringArray::operator[](int nIndex) {
    ASSERT(nIndex >= 0 && nIndex < GetSize());
    return m_aStrings[nIndex];
}

int CStringArray::Add(LPCTSTR lpszElement) {
    m_aStrings.push_back(CString(lpszElement));
    return GetSize() - 1;
}
