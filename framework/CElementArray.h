// The one body of the framework's arrays of simple elements (CByteArray, CWordArray,
// CDWordArray, CStringArray): a growable array indexed from 0 that serialises as a count and
// then its elements in index order. Not used on its own.
//
// An operation that takes an element may be given one of the array's own (arr.Add(arr[0])): it
// copies the element before the array moves. Memory that cannot be had throws CMemoryException,
// and so does a size beyond INT_MAX, which the array could not index. An index or a count that
// no array could take throws CInvalidArgException, in the release build too; the debug build
// first asserts.
#pragma once

#include "AfxAllocator.h"
#include "CArchive.h"
#include "CException.h"
#include "CObject.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

template <class TYPE, class ARG_TYPE> class CElementArray : public CObject {
public:
    int GetSize() const { return static_cast<int>(m_aData.size()); }
    int GetUpperBound() const { return GetSize() - 1; }
    // New elements are zero (empty strings); elements from |nNewSize| (not below 0) on go.
    // |nGrowBy| is the number of elements that the array makes room for at once when it must grow:
    // -1 keeps it as it was, 0 lets the array choose by its size.
    void SetSize(int nNewSize, int nGrowBy = -1);
    void RemoveAll() { SetSize(0); }

    // Indexes must lie within the array.
    const TYPE& GetAt(int nIndex) const;
    void SetAt(int nIndex, ARG_TYPE newElement) { ElementAt(nIndex) = TYPE(newElement); }
    TYPE& ElementAt(int nIndex);
    const TYPE& operator[](int nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](int nIndex) { return ElementAt(nIndex); }

    // Sets element |nIndex| (not below 0), first growing the array with zeros to reach it.
    void SetAtGrow(int nIndex, ARG_TYPE newElement) { SetAtGrowElement(nIndex, TYPE(newElement)); }
    // Appends |newElement|; returns its index.
    int Add(ARG_TYPE newElement) { return AddElement(TYPE(newElement)); }
    // Puts |nCount| (at least 1) copies of |newElement| at |nIndex| (not below 0), moving the
    // elements from there up; an index beyond the end grows the array with zeros up to it.
    void InsertAt(int nIndex, ARG_TYPE newElement, int nCount = 1) {
        InsertElementAt(nIndex, TYPE(newElement), nCount);
    }

    // Storing: the count, then each element. Loading replaces the elements with the stored ones.
    // An exception while loading leaves the elements read before it.
    void Serialize(CArchive& ar) override;

protected:
    CElementArray() = default;

    // The bodies of SetAtGrow, Add and InsertAt, for every form of element that a derived array
    // takes. |element| is a copy made before the array moves.
    void SetAtGrowElement(int nIndex, TYPE element);
    int AddElement(TYPE element);
    void InsertElementAt(int nIndex, TYPE element, int nCount);

private:
    // The fewest bytes that one stored element takes: a number its size, a string its length.
    static constexpr size_t kMinStoredBytes = std::is_arithmetic<TYPE>::value ? sizeof(TYPE) : 1;

    // Throws CInvalidArgException unless |nIndex| lies within the array.
    void CheckIndex(int nIndex) const;
    // The size that |nCount| elements from |nIndex| on take, summed wide: past INT_MAX, which no
    // array can index, it throws CMemoryException.
    static int SizeThrough(int nIndex, int nCount);
    void Load(CArchive& ar);
    // Room for |nCapacity| elements; more than the array's type can hold throws CMemoryException,
    // as running out of memory does (the standard library would throw std::length_error).
    void Reserve(size_t nCapacity);

    std::vector<TYPE, CAfxAllocator<TYPE>> m_aData;
    int m_nGrowBy = 0;
};

template <class TYPE, class ARG_TYPE>
void CElementArray<TYPE, ARG_TYPE>::SetSize(int nNewSize, int nGrowBy) {
    ENSURE_ARG(nNewSize >= 0);
    if (nGrowBy >= 0)
        m_nGrowBy = nGrowBy;
    if (nNewSize == 0) {
        m_aData.clear();
        m_aData.shrink_to_fit();
        return;
    }
    size_t nSize = static_cast<size_t>(nNewSize);
    if (nSize > m_aData.capacity()) {
        size_t nStep = m_nGrowBy > 0 ? static_cast<size_t>(m_nGrowBy)
                                     : std::min<size_t>(1024, std::max<size_t>(4, nSize / 8));
        // Never past what the array's type can hold: a size beyond it throws.
        Reserve(std::max(nSize, std::min(m_aData.capacity() + nStep, m_aData.max_size())));
    }
    m_aData.resize(nSize); // new elements are value-initialised: zero
}

template <class TYPE, class ARG_TYPE>
void CElementArray<TYPE, ARG_TYPE>::Reserve(size_t nCapacity) {
    if (nCapacity > m_aData.max_size())
        AfxThrowMemoryException();
    m_aData.reserve(nCapacity);
}

template <class TYPE, class ARG_TYPE>
void CElementArray<TYPE, ARG_TYPE>::CheckIndex(int nIndex) const {
    ENSURE_ARG(nIndex >= 0 && nIndex < GetSize());
}

template <class TYPE, class ARG_TYPE>
int CElementArray<TYPE, ARG_TYPE>::SizeThrough(int nIndex, int nCount) {
    long long llSize = static_cast<long long>(nIndex) + nCount;
    if (llSize > INT_MAX)
        AfxThrowMemoryException();
    return static_cast<int>(llSize);
}

template <class TYPE, class ARG_TYPE>
const TYPE& CElementArray<TYPE, ARG_TYPE>::GetAt(int nIndex) const {
    CheckIndex(nIndex);
    return m_aData[nIndex];
}

template <class TYPE, class ARG_TYPE> TYPE& CElementArray<TYPE, ARG_TYPE>::ElementAt(int nIndex) {
    CheckIndex(nIndex);
    return m_aData[nIndex];
}

template <class TYPE, class ARG_TYPE>
void CElementArray<TYPE, ARG_TYPE>::SetAtGrowElement(int nIndex, TYPE element) {
    ENSURE_ARG(nIndex >= 0);
    if (nIndex >= GetSize())
        SetSize(SizeThrough(nIndex, 1));
    m_aData[nIndex] = std::move(element);
}

template <class TYPE, class ARG_TYPE> int CElementArray<TYPE, ARG_TYPE>::AddElement(TYPE element) {
    int nIndex = GetSize();
    SetAtGrowElement(nIndex, std::move(element));
    return nIndex;
}

template <class TYPE, class ARG_TYPE>
void CElementArray<TYPE, ARG_TYPE>::InsertElementAt(int nIndex, TYPE element, int nCount) {
    ENSURE_ARG(nIndex >= 0);
    ENSURE_ARG(nCount > 0);
    int nOldSize = GetSize();
    SetSize(SizeThrough(std::max(nIndex, nOldSize), nCount));
    if (nIndex < nOldSize)
        std::move_backward(m_aData.begin() + nIndex, m_aData.begin() + nOldSize, m_aData.end());
    std::fill_n(m_aData.begin() + nIndex, nCount, element);
}

template <class TYPE, class ARG_TYPE> void CElementArray<TYPE, ARG_TYPE>::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(GetSize()));
        for (const TYPE& element : m_aData)
            ar << element;
        return;
    }
    Load(ar);
}

// The framework sizes the array to the stored count before it reads an element; a count far
// larger than the data would then take memory for elements that are not there (a CString for
// each byte left is 24 or 32 times the bytes). So the array grows as its elements arrive: at
// first to as many as the bytes left would hold in memory, then doubling, never beyond the count
// or what the bytes left could still hold. Memory stays within the larger of the bytes left and
// twice the elements read; numbers, which take no more memory than their stored bytes, are given
// their room once.
template <class TYPE, class ARG_TYPE> void CElementArray<TYPE, ARG_TYPE>::Load(CArchive& ar) {
    DWORD dwCount = ar.ReadCount();
    if (std::min<unsigned long long>(dwCount, ar.GetBytesLeft() / kMinStoredBytes) > INT_MAX)
        AfxThrowMemoryException(); // more elements than an array can index
    RemoveAll();
    int nRead = 0;
    try {
        for (; static_cast<DWORD>(nRead) < dwCount; nRead++) {
            if (m_aData.size() == m_aData.capacity()) {
                unsigned long long ullBytesLeft = ar.GetBytesLeft();
                unsigned long long ullFit = ullBytesLeft / kMinStoredBytes;
                if (ullFit == 0)
                    AfxThrowArchiveException(CArchiveException::endOfFile);
                unsigned long long ullStep =
                    std::max<unsigned long long>({m_aData.size(), ullBytesLeft / sizeof(TYPE), 1});
                unsigned long long ullCountLeft = dwCount - static_cast<DWORD>(nRead);
                Reserve(m_aData.size() +
                        static_cast<size_t>(std::min({ullStep, ullFit, ullCountLeft})));
            }
            m_aData.emplace_back();
            ar >> m_aData.back();
        }
    } catch (...) {
        SetSize(nRead); // the elements read before the exception stay
        throw;
    }
}
