// The framework's base object: a runtime class, a virtual destructor, serialisation, and in
// debug builds a validity check and a diagnostic dump, in that order in the virtual table.
#pragma once

#include "AfxDebug.h"

class CObject;
class CArchive;

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
};

#ifdef _DEBUG
// Where Dump writes: the debugger's output on Windows, stderr elsewhere.
class CDumpContext {
public:
    CDumpContext& operator<<(LPCSTR lpsz);
    CDumpContext& operator<<(const void* lp);
};
extern CDumpContext afxDump;
#endif

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

class CObject {
public:
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;
    virtual void Serialize(CArchive& ar);
#ifdef _DEBUG
    virtual void AssertValid() const;
    virtual void Dump(CDumpContext& dc) const;
#endif

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;

private:
    // Framework objects own what they hold (handles, windows, elements): they are not copied.
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};
