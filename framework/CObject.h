// The framework's base object: a runtime class, a virtual destructor, serialisation, and in
// debug builds a validity check and a diagnostic dump, in that order in the virtual table.
#pragma once

#include "AfxDebug.h"

#include <new>

class CObject;
class CArchive;

// What a class says about itself at run time: its name, its objects' size, its schema (0xFFFF
// when its objects cannot be serialised), how to make one, and the class it derives from.
struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)(); // NULL when the class cannot make objects of its own
    const CRuntimeClass* m_pBaseClass;

    // A new object of this class, or NULL when the class cannot make one (nor find its memory).
    CObject* CreateObject() const;
    // TRUE when this class is |pBaseClass| or derives from it.
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
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

// In a class body: the class has a runtime class of its own (IsKindOf knows it).
#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static const CRuntimeClass class##class_name;                                                  \
    const CRuntimeClass* GetRuntimeClass() const override;

// ... and can make its objects from the runtime class.
#define DECLARE_DYNCREATE(class_name)                                                              \
    DECLARE_DYNAMIC(class_name)                                                                    \
    static CObject* CreateObject();

// ... and its objects can be serialised.
#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                       \
    const CRuntimeClass class_name::class##class_name = {                                          \
        #class_name, sizeof(class class_name), wSchema, pfnNew, RUNTIME_CLASS(base_class_name)};   \
    const CRuntimeClass* class_name::GetRuntimeClass() const {                                     \
        return RUNTIME_CLASS(class_name);                                                          \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, NULL)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    CObject* class_name::CreateObject() {                                                          \
        return new (std::nothrow) class_name;                                                      \
    }                                                                                              \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                     \
    CObject* class_name::CreateObject() {                                                          \
        return new (std::nothrow) class_name;                                                      \
    }                                                                                              \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)

class CObject {
public:
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;
    virtual void Serialize(CArchive& ar);
#ifdef _DEBUG
    virtual void AssertValid() const;
    virtual void Dump(CDumpContext& dc) const;
#endif

    // TRUE when this object's class is |pClass| or derives from it.
    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    // TRUE when this object's class has a schema, that is when it was declared serial.
    BOOL IsSerializable() const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;

private:
    // Framework objects own what they hold (handles, windows, elements): they are not copied.
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};
