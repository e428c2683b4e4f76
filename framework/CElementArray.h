// The one body of the framework's arrays of simple elements (CByteArray, CWordArray,
// CDWordArray, CStringArray): a growable array indexed from 0 that serialises as a count and
// then its elements in index order. Not used on its own.
#pragma once

#include "CArchive.h"
#include "CObject.h"

#include <algorithm>
#include <cstddef>
#include <vector>

template <class TYPE, class ARG_TYPE> class CElementArray : public CObject {
public:
    int GetSize() const { return static_cast<int>(m_aData.size()); }
    int GetUpperBound() const { return GetSize() - 1; }
    // New elements are zero (empty strings); elements from |nNewSize| on go. |nGrowBy| is the
    // number of elements that the array makes room for at once when it must grow: -1 keeps it
    // as it was, 0 lets the array choose by its size.
    void SetSize(int nNewSize, int nGrowBy = -1);
    void RemoveAll() { SetSize(0); }

    // Indexes must lie within the array (a debug assertion).
    const TYPE& GetAt(int nIndex) const;
    void SetAt(int nIndex, ARG_TYPE newElement) { ElementAt(nIndex) = newElement; }
    TYPE& ElementAt(int nIndex);
    const TYPE& operator[](int nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](int nIndex) { return ElementAt(nIndex); }

    // Appends |newElement|; returns its index.
    int Add(ARG_TYPE newElement);

    // Storing: the count, then each element. Loading replaces the elements with the stored ones.
    // An exception while loading leaves the elements read before it.
    void Serialize(CArchive& ar) override;

protected:
    CElementArray() = default;

private:
    std::vector<TYPE> m_aData;
    int m_nGrowBy = 0;
};

template <class TYPE, class ARG_TYPE>
void CElementArray<TYPE, ARG_TYPE>::SetSize(int nNewSize, int nGrowBy) {
    ASSERT(nNewSize >= 0);
    if (nGrowBy >= 0)
        m_nGrowBy = nGrowBy;
    if (nNewSize <= 0) {
        m_aData.clear();
        m_aData.shrink_to_fit();
        return;
    }
    size_t nSize = static_cast<size_t>(nNewSize);
    if (nSize > m_aData.capacity()) {
        size_t nStep = m_nGrowBy > 0 ? static_cast<size_t>(m_nGrowBy)
                                     : std::min<size_t>(1024, std::max<size_t>(4, nSize / 8));
        m_aData.reserve(std::max(nSize, m_aData.capacity() + nStep));
    }
    m_aData.resize(nSize); // new elements are value-initialised: zero
}

template <class TYPE, class ARG_TYPE>
const TYPE& CElementArray<TYPE, ARG_TYPE>::GetAt(int nIndex) const {
    ASSERT(nIndex >= 0 && nIndex < GetSize());
    return m_aData[nIndex];
}

template <class TYPE, class ARG_TYPE> TYPE& CElementArray<TYPE, ARG_TYPE>::ElementAt(int nIndex) {
    ASSERT(nIndex >= 0 && nIndex < GetSize());
    return m_aData[nIndex];
}

template <class TYPE, class ARG_TYPE> int CElementArray<TYPE, ARG_TYPE>::Add(ARG_TYPE newElement) {
    int nIndex = GetSize();
    SetSize(nIndex + 1);
    m_aData[nIndex] = newElement;
    return nIndex;
}

template <class TYPE, class ARG_TYPE> void CElementArray<TYPE, ARG_TYPE>::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(GetSize()));
        for (const TYPE& element : m_aData)
            ar << element;
        return;
    }
    DWORD dwCount = ar.ReadCount();
    RemoveAll();
    // The count is not trusted with memory: each element takes its room once its bytes are read,
    // so a count larger than the data ends with endOfFile, not with a huge allocation.
    for (DWORD i = 0; i < dwCount; i++) {
        TYPE element = TYPE();
        ar >> element;
        Add(element);
    }
}
