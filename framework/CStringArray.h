// The framework's growable array of strings, indexed from 0.
#pragma once

#include "CObject.h"
#include "CString.h"

#include <vector>

class CStringArray : public CObject {
public:
    int GetSize() const { return static_cast<int>(m_aStrings.size()); }
    // New elements are empty strings; elements beyond |nNewSize| go.
    void SetSize(int nNewSize);
    void RemoveAll() { m_aStrings.clear(); }

    const CString& GetAt(int nIndex) const;
    const CString& operator[](int nIndex) const { return GetAt(nIndex); }
    CString& operator[](int nIndex);

    // Appends |lpszElement| and returns its index.
    int Add(LPCTSTR lpszElement);

private:
    std::vector<CString> m_aStrings;
};
