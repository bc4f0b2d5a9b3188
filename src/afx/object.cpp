#include "afx/object.h"

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF,
                                             nullptr, nullptr};

const CRuntimeClass* CObject::GetThisClass() {
    return &classCObject;
}

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}

bool CObject::IsKindOf(const CRuntimeClass* runtimeClass) const {
    return GetRuntimeClass()->IsDerivedFrom(runtimeClass);
}

const CRuntimeClass* CRuntimeClass::GetBaseClass() const {
    return m_pfnGetBaseClass != nullptr ? m_pfnGetBaseClass() : nullptr;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c != nullptr; c = c->GetBaseClass()) {
        if (c == base) {
            return true;
        }
    }
    return false;
}
