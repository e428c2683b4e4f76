#include "CObject.h"

#include <cstdio>

const CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, NULL, NULL};

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject != NULL ? m_pfnCreateObject() : NULL;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    ASSERT(pBaseClass != NULL);
    for (const CRuntimeClass* pClass = this; pClass != NULL; pClass = pClass->m_pBaseClass) {
        if (pClass == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return RUNTIME_CLASS(CObject);
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const {
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

// The base object has no state of its own to store or load.
void CObject::Serialize(CArchive&) {}

#ifdef _DEBUG
CDumpContext afxDump;

CDumpContext& CDumpContext::operator<<(LPCSTR lpsz) {
#ifdef _WIN32
    ::OutputDebugStringA(lpsz);
#else
    std::fputs(lpsz, stderr);
#endif
    return *this;
}

CDumpContext& CDumpContext::operator<<(const void* lp) {
    char szAddress[32];
    std::snprintf(szAddress, sizeof szAddress, "%p", lp);
    return *this << szAddress;
}

void CObject::AssertValid() const {
    ASSERT(AfxIsValidAddress(this, sizeof(CObject), FALSE));
}

void CObject::Dump(CDumpContext& dc) const {
    dc << "a " << GetRuntimeClass()->m_lpszClassName << " at " << static_cast<const void*>(this)
       << "\n";
}
#endif
