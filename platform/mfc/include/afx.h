// Core of the application framework: objects with run-time class information, and the string class.
// The framework is one DLL, KivoAfx.dll, shared by every module of a process: KIVOAFX_API marks what
// it exports (and what other modules import).
#pragma once

#ifndef STRICT
#define STRICT
#endif
#include <windows.h>

#include <string>

#ifdef KIVOAFX_BUILD
#define KIVOAFX_API __declspec(dllexport)
#else
#define KIVOAFX_API __declspec(dllimport)
#endif

#ifndef AFXAPI
#define AFXAPI __stdcall
#endif
#define AFX_CDECL __cdecl
#define afx_msg

#ifndef ASSERT
#ifdef NDEBUG
#define ASSERT(f) ((void)0)
#else
#define ASSERT(f) ((f) ? (void)0 : AfxAssertFailed(__FILE__, __LINE__, #f))
#endif
#endif
#define VERIFY(f) ((void)(f))
#define ASSERT_VALID(p) ASSERT((p) != nullptr)

KIVOAFX_API void AFXAPI AfxAssertFailed(const char* file, int line, const char* expression);

class CObject;

// Run-time class information: the class name, its size, a factory for dynamically creatable classes
// and the link to the base class.
struct KIVOAFX_API CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* (*m_pfnGetBaseClass)();

    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

// The object as a pointer to the class when it is of that class or derived from it, else null.
KIVOAFX_API CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);
#define DYNAMIC_DOWNCAST(class_name, object) \
    (static_cast<class_name*>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), (object))))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))

#define DECLARE_DYNAMIC(class_name)                       \
public:                                                   \
    static CRuntimeClass* PASCAL GetThisClass();          \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                     \
    DECLARE_DYNAMIC(class_name)                           \
    static CObject* PASCAL CreateObject();

#define AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, pfnNew)                      \
    CRuntimeClass* PASCAL class_name::GetThisClass()                                        \
    {                                                                                        \
        static CRuntimeClass rc = {#class_name, sizeof(class class_name), 0xFFFF, pfnNew,    \
                                   &base_class_name::GetThisClass};                          \
        return &rc;                                                                          \
    }                                                                                        \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                       \
    CObject* PASCAL class_name::CreateObject() { return new class_name; }      \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, class_name::CreateObject)

class KIVOAFX_API CObject {
public:
    virtual ~CObject() = default;
    static CRuntimeClass* PASCAL GetThisClass();
    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

protected:
    CObject() = default;

private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

// A wide string with the framework's interface, kept in a std::wstring.
class KIVOAFX_API CString {
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(LPCWSTR psz) : m_str(psz ? psz : L"") {}
    CString(LPCWSTR pch, int nLength) : m_str(pch ? std::wstring(pch, nLength) : std::wstring()) {}
    CString(WCHAR ch, int nRepeat = 1) : m_str(nRepeat > 0 ? nRepeat : 0, ch) {}

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCWSTR psz) { m_str = psz ? psz : L""; return *this; }
    CString& operator+=(const CString& s) { m_str += s.m_str; return *this; }
    CString& operator+=(LPCWSTR psz) { if (psz) m_str += psz; return *this; }
    CString& operator+=(WCHAR ch) { m_str += ch; return *this; }

    operator LPCWSTR() const { return m_str.c_str(); }
    LPCWSTR GetString() const { return m_str.c_str(); }
    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    WCHAR GetAt(int i) const { return m_str.at(static_cast<size_t>(i)); }
    WCHAR operator[](int i) const { return GetAt(i); }

    int Compare(LPCWSTR psz) const;
    int CompareNoCase(LPCWSTR psz) const;

    void AFX_CDECL Format(LPCWSTR pszFormat, ...);
    void FormatV(LPCWSTR pszFormat, va_list args);
    BOOL LoadString(UINT nID);
    BOOL LoadString(HINSTANCE hInstance, UINT nID);

    CString Left(int nCount) const;
    CString Mid(int iFirst, int nCount = -1) const;
    CString Right(int nCount) const;
    int Find(WCHAR ch, int iStart = 0) const;
    int Find(LPCWSTR pszSub, int iStart = 0) const;
    int ReverseFind(WCHAR ch) const;
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim() { return TrimRight().TrimLeft(); }

    // Writable buffer of at least nMinBufLength characters; ReleaseBuffer takes back the length.
    LPWSTR GetBuffer(int nMinBufLength);
    void ReleaseBuffer(int nNewLength = -1);

    const std::wstring& str() const { return m_str; }

private:
    std::wstring m_str;
};

inline CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
inline CString operator+(const CString& a, LPCWSTR b) { CString r(a); r += b; return r; }
inline CString operator+(LPCWSTR a, const CString& b) { CString r(a); r += b; return r; }
inline bool operator==(const CString& a, LPCWSTR b) { return a.Compare(b) == 0; }
inline bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
inline bool operator!=(const CString& a, LPCWSTR b) { return !(a == b); }
inline bool operator<(const CString& a, const CString& b) { return a.str() < b.str(); }

// The module's instance and the module that resources are looked up in.
KIVOAFX_API HINSTANCE AFXAPI AfxGetInstanceHandle();
KIVOAFX_API HINSTANCE AFXAPI AfxGetResourceHandle();
KIVOAFX_API void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
// The module that holds the named resource: the resource module first, then the program itself.
KIVOAFX_API HINSTANCE AFXAPI AfxFindResourceHandle(LPCWSTR lpszName, LPCWSTR lpszType);

// Diagnostics that must not take the program down: failures escaping a handler, failed asserts.
KIVOAFX_API void AFX_CDECL AfxTrace(LPCWSTR pszFormat, ...);
#define TRACE AfxTrace
// A handler let an exception escape: traced, and the message counts as handled with result 0.
KIVOAFX_API void AFXAPI AfxTraceHandlerException(const char* what);
