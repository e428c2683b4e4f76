// The framework's doubly linked list of strings. A POSITION names one element; GetNext walks
// from the head to the tail and gives NULL after the tail.
#pragma once

#include "CObject.h"
#include "CString.h"

class CStringList : public CObject {
    DECLARE_SERIAL(CStringList)
public:
    CStringList() = default;
    ~CStringList() override;

    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // The list must not be empty (a debug assertion).
    CString& GetHead();
    const CString& GetHead() const;
    CString& GetTail();
    const CString& GetTail() const;

    // Each returns the position of the new element. A text is taken up to its first zero; a
    // CString whole, its zero characters included.
    POSITION AddHead(LPCTSTR newElement) { return AddHead(CString(newElement)); }
    POSITION AddHead(const CString& newElement);
    POSITION AddTail(LPCTSTR newElement) { return AddTail(CString(newElement)); }
    POSITION AddTail(const CString& newElement);
    void RemoveAll();

    // NULL when the list is empty.
    POSITION GetHeadPosition() const;
    // The element at |rPosition|, which then moves to the next one (NULL after the tail).
    CString& GetNext(POSITION& rPosition);
    const CString& GetNext(POSITION& rPosition) const;
    // Replaces the element at |pos|, which must not be NULL (a debug assertion).
    void SetAt(POSITION pos, LPCTSTR newElement) { SetAt(pos, CString(newElement)); }
    void SetAt(POSITION pos, const CString& newElement);

    // Storing: the count, then each string from head to tail. Loading appends the stored
    // strings to what the list holds.
    void Serialize(CArchive& ar) override;

private:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        CString data;
    };

    POSITION AddNode(CNode* pPrev, CNode* pNext, const CString& newElement);

    CNode* m_pNodeHead = NULL;
    CNode* m_pNodeTail = NULL;
    int m_nCount = 0;
};
