// CObject and run-time class information: the document template creates the
// document, frame and view from their class records, and a few classes ask
// an object for its class by name.
#pragma once

#include <windows.h>

class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* (*m_pfnGetBaseClass)();

    // A new object of the class; nullptr for a class that cannot be created.
    CObject* CreateObject() const { return m_pfnCreateObject != nullptr ? m_pfnCreateObject() : nullptr; }
    bool IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
    // Looks a class up by name among those registered with IMPLEMENT_SERIAL.
    static const CRuntimeClass* FromName(const char* pszClassName);
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    bool IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }

    static const CRuntimeClass classCObject;
    static const CRuntimeClass* GetThisClass() { return &classCObject; }

protected:
    CObject() = default;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                                      \
public:                                                                  \
    static const CRuntimeClass class##class_name;                        \
    static const CRuntimeClass* GetThisClass() { return &class##class_name; } \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)   \
    DECLARE_DYNAMIC(class_name)         \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, pfnNew)          \
    const CRuntimeClass class_name::class##class_name = {                     \
        #class_name, pfnNew, &base_class_name::GetThisClass};                 \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return &class##class_name; }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                 \
    CObject* class_name::CreateObject() { return new class_name; }       \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, &class_name::CreateObject)

// Registers the class by name at static initialisation, for classes whose
// objects are made by name.
struct CClassRegistration {
    explicit CClassRegistration(const CRuntimeClass* pClass);
};

#define IMPLEMENT_SERIAL(class_name, base_class_name, schema) \
    IMPLEMENT_DYNCREATE(class_name, base_class_name)          \
    static const CClassRegistration s_registration##class_name(RUNTIME_CLASS(class_name));
