#include "CStringList.h"

#include "CArchive.h"

#include <new>

IMPLEMENT_SERIAL(CStringList, CObject, 0)

CStringList::~CStringList() {
    RemoveAll();
}

CString& CStringList::GetHead() {
    ASSERT(m_pNodeHead != NULL);
    return m_pNodeHead->data;
}

const CString& CStringList::GetHead() const {
    ASSERT(m_pNodeHead != NULL);
    return m_pNodeHead->data;
}

CString& CStringList::GetTail() {
    ASSERT(m_pNodeTail != NULL);
    return m_pNodeTail->data;
}

const CString& CStringList::GetTail() const {
    ASSERT(m_pNodeTail != NULL);
    return m_pNodeTail->data;
}

POSITION CStringList::AddNode(CNode* pPrev, CNode* pNext, const CString& newElement) {
    CNode* pNode = new (std::nothrow) CNode{pNext, pPrev, newElement};
    if (pNode == NULL)
        AfxThrowMemoryException();
    (pPrev != NULL ? pPrev->pNext : m_pNodeHead) = pNode;
    (pNext != NULL ? pNext->pPrev : m_pNodeTail) = pNode;
    m_nCount++;
    return reinterpret_cast<POSITION>(pNode);
}

POSITION CStringList::AddHead(const CString& newElement) {
    return AddNode(NULL, m_pNodeHead, newElement);
}

POSITION CStringList::AddTail(const CString& newElement) {
    return AddNode(m_pNodeTail, NULL, newElement);
}

void CStringList::RemoveAll() {
    while (m_pNodeHead != NULL) {
        CNode* pNext = m_pNodeHead->pNext;
        delete m_pNodeHead;
        m_pNodeHead = pNext;
    }
    m_pNodeTail = NULL;
    m_nCount = 0;
}

POSITION CStringList::GetHeadPosition() const {
    return reinterpret_cast<POSITION>(m_pNodeHead);
}

CString& CStringList::GetNext(POSITION& rPosition) {
    ASSERT(rPosition != NULL);
    CNode* pNode = reinterpret_cast<CNode*>(rPosition);
    rPosition = reinterpret_cast<POSITION>(pNode->pNext);
    return pNode->data;
}

const CString& CStringList::GetNext(POSITION& rPosition) const {
    return const_cast<CStringList*>(this)->GetNext(rPosition);
}

void CStringList::SetAt(POSITION pos, const CString& newElement) {
    ASSERT(pos != NULL);
    reinterpret_cast<CNode*>(pos)->data = newElement;
}

void CStringList::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(m_nCount));
        for (CNode* pNode = m_pNodeHead; pNode != NULL; pNode = pNode->pNext)
            ar << pNode->data;
        return;
    }
    for (DWORD dwCount = ar.ReadCount(); dwCount > 0; dwCount--) {
        CString strElement;
        ar >> strElement;
        AddTail(strElement);
    }
}
