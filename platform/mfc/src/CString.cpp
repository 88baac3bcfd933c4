// The framework's wide string.
#include "afx.h"

#include <cstdarg>
#include <cwctype>
#include <vector>

int CString::Compare(LPCWSTR psz) const
{
    return m_str.compare(psz ? psz : L"");
}

int CString::CompareNoCase(LPCWSTR psz) const
{
    // The same comparison the C runtime's _wcsicmp makes, as the framework does.
    return _wcsicmp(m_str.c_str(), psz ? psz : L"");
}

void AFX_CDECL CString::Format(LPCWSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatV(LPCWSTR pszFormat, va_list args)
{
    // The C runtime's _vsnwprintf keeps the platform's meaning of %s (wide) in wide formats.
    std::vector<WCHAR> buffer(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        int n = _vsnwprintf(buffer.data(), buffer.size(), pszFormat, copy);
        va_end(copy);
        if (n >= 0 && static_cast<size_t>(n) < buffer.size()) {
            m_str.assign(buffer.data(), static_cast<size_t>(n));
            return;
        }
        if (buffer.size() >= (1u << 20)) {   // a runaway format: keep what fits
            m_str.assign(buffer.data(), buffer.size());
            return;
        }
        buffer.resize(buffer.size() * 2);
    }
}

// Strings live in blocks of sixteen, so a module may hold the block but not this string: the string
// itself is looked for in the resource module, then in the program.
BOOL CString::LoadString(UINT nID)
{
    if (LoadString(AfxGetResourceHandle(), nID))
        return TRUE;
    return AfxGetInstanceHandle() != AfxGetResourceHandle() && LoadString(AfxGetInstanceHandle(), nID);
}

BOOL CString::LoadString(HINSTANCE hInstance, UINT nID)
{
    // With a zero buffer size LoadStringW hands back a pointer into the resource itself.
    LPCWSTR pResource = nullptr;
    int n = ::LoadStringW(hInstance, nID, reinterpret_cast<LPWSTR>(&pResource), 0);
    if (n <= 0 || !pResource)
        return FALSE;
    m_str.assign(pResource, static_cast<size_t>(n));
    return TRUE;
}

CString CString::Left(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    return CString(m_str.substr(0, static_cast<size_t>(nCount)).c_str());
}

CString CString::Mid(int iFirst, int nCount) const
{
    if (iFirst < 0)
        iFirst = 0;
    if (static_cast<size_t>(iFirst) >= m_str.size())
        return CString();
    size_t count = nCount < 0 ? std::wstring::npos : static_cast<size_t>(nCount);
    std::wstring part = m_str.substr(static_cast<size_t>(iFirst), count);
    return CString(part.c_str(), static_cast<int>(part.size()));
}

CString CString::Right(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    size_t n = static_cast<size_t>(nCount);
    if (n >= m_str.size())
        return *this;
    std::wstring part = m_str.substr(m_str.size() - n);
    return CString(part.c_str(), static_cast<int>(part.size()));
}

int CString::Find(WCHAR ch, int iStart) const
{
    size_t pos = m_str.find(ch, iStart < 0 ? 0 : static_cast<size_t>(iStart));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCWSTR pszSub, int iStart) const
{
    size_t pos = m_str.find(pszSub ? pszSub : L"", iStart < 0 ? 0 : static_cast<size_t>(iStart));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(WCHAR ch) const
{
    size_t pos = m_str.rfind(ch);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

CString& CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_str.size() && iswspace(m_str[i]))
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    size_t n = m_str.size();
    while (n > 0 && iswspace(m_str[n - 1]))
        --n;
    m_str.resize(n);
    return *this;
}

LPWSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength > 0 && static_cast<size_t>(nMinBufLength) > m_str.size())
        m_str.resize(static_cast<size_t>(nMinBufLength));
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        m_str.resize(wcsnlen(m_str.c_str(), m_str.size()));
    else if (static_cast<size_t>(nNewLength) <= m_str.size())
        m_str.resize(static_cast<size_t>(nNewLength));
}
