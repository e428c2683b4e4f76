#include "CObject.h"

#include <cstdio>

const CRuntimeClass CObject::classCObject = {"CObject"};

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return RUNTIME_CLASS(CObject);
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
