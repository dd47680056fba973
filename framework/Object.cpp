#include "framework/Object.h"

#include <cstring>
#include <vector>

namespace {
const CRuntimeClass* NoBaseClass()
{
    return nullptr;
}

std::vector<const CRuntimeClass*>& RegisteredClasses()
{
    static std::vector<const CRuntimeClass*> classes;
    return classes;
}
}  // namespace

const CRuntimeClass CObject::classCObject = {"CObject", nullptr, &NoBaseClass};

const CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &classCObject;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* p = this; p != nullptr; p = p->m_pfnGetBaseClass())
        if (p == pBaseClass)
            return true;
    return false;
}

const CRuntimeClass* CRuntimeClass::FromName(const char* pszClassName)
{
    for (const CRuntimeClass* p : RegisteredClasses())
        if (std::strcmp(p->m_lpszClassName, pszClassName) == 0)
            return p;
    return nullptr;
}

CClassRegistration::CClassRegistration(const CRuntimeClass* pClass)
{
    RegisteredClasses().push_back(pClass);
}
