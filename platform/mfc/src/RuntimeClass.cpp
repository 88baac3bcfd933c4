// Run-time class information and the framework's diagnostics.
#include "afx.h"

#include <cstdarg>
#include <cstdio>

CRuntimeClass* PASCAL CObject::GetThisClass()
{
    static CRuntimeClass rc = {"CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr};
    return &rc;
}

CRuntimeClass* CObject::GetRuntimeClass() const { return GetThisClass(); }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* p = this; p; p = p->m_pfnGetBaseClass ? p->m_pfnGetBaseClass() : nullptr) {
        if (p == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

void AFX_CDECL AfxTrace(LPCWSTR pszFormat, ...)
{
    WCHAR buffer[1024];
    va_list args;
    va_start(args, pszFormat);
    _vsnwprintf(buffer, ARRAYSIZE(buffer) - 1, pszFormat, args);
    va_end(args);
    buffer[ARRAYSIZE(buffer) - 1] = L'\0';
    OutputDebugStringW(buffer);
}

void AFXAPI AfxAssertFailed(const char* file, int line, const char* expression)
{
    char buffer[512];
    _snprintf(buffer, sizeof(buffer) - 1, "%s(%d): assertion failed: %s\n", file, line, expression);
    buffer[sizeof(buffer) - 1] = '\0';
    OutputDebugStringA(buffer);
}

CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject)
{
    return pObject && pObject->IsKindOf(pClass) ? pObject : nullptr;
}

void AFXAPI AfxTraceHandlerException(const char* what)
{
    if (what)
        AfxTrace(L"message handler: exception: %S\n", what);
    else
        AfxTrace(L"message handler: unknown exception\n");
}
