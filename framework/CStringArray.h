// The framework's growable array of strings, indexed from 0.
#pragma once

#include "CElementArray.h"
#include "CString.h"

class CStringArray : public CElementArray<CString, LPCTSTR> {
    DECLARE_SERIAL(CStringArray)
public:
    // A text is taken up to its first zero; a CString whole, its zero characters included.
    using CElementArray::Add;
    using CElementArray::InsertAt;
    using CElementArray::SetAt;
    using CElementArray::SetAtGrow;
    void SetAt(int nIndex, const CString& newElement) { ElementAt(nIndex) = newElement; }
    void SetAtGrow(int nIndex, const CString& newElement) { SetAtGrowElement(nIndex, newElement); }
    int Add(const CString& newElement) { return AddElement(newElement); }
    void InsertAt(int nIndex, const CString& newElement, int nCount = 1) {
        InsertElementAt(nIndex, newElement, nCount);
    }
};
