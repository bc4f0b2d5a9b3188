// CObject and run-time class information (DECLARE_DYNAMIC / IMPLEMENT_DYNAMIC).
#pragma once

#include "win/types.h"

class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    unsigned m_wSchema;                           // 0xFFFF: not serialisable
    CObject* (*m_pfnCreateObject)();              // null: cannot be created by name
    const CRuntimeClass* (*m_pfnGetBaseClass)();  // null for CObject

    const CRuntimeClass* GetBaseClass() const;
    bool IsDerivedFrom(const CRuntimeClass* base) const;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)               \
  public:                                         \
    static const CRuntimeClass class##class_name; \
    static const CRuntimeClass* GetThisClass();   \
    const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                      \
    const CRuntimeClass class_name::class##class_name = {                   \
        #class_name, static_cast<int>(sizeof(class_name)), 0xFFFF, nullptr, \
        &base_class_name::GetThisClass};                                    \
    const CRuntimeClass* class_name::GetThisClass() {                       \
        return &class_name::class##class_name;                              \
    }                                                                       \
    const CRuntimeClass* class_name::GetRuntimeClass() const {              \
        return &class_name::class##class_name;                              \
    }

class CObject {
  public:
    virtual ~CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

    static const CRuntimeClass classCObject;
    static const CRuntimeClass* GetThisClass();
    virtual const CRuntimeClass* GetRuntimeClass() const;
    bool IsKindOf(const CRuntimeClass* runtimeClass) const;

  protected:
    CObject() = default;
};
