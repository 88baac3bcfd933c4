// KivoRegKey: one registry key, opened for reading or created for writing. Reads check the stored
// type and size before anything reaches the caller, so that a failed read leaves the caller's
// variable exactly as it was.
#include "KivoLib.h"

#include <cwchar>
#include <vector>

KivoRegKey::KivoRegKey() : m_hKey(nullptr)
{
}

KivoRegKey::~KivoRegKey()
{
    Close();
}

LONG KivoRegKey::Open(HKEY hRoot, LPCWSTR path)
{
    Close();
    if (!hRoot || !path)
        return ERROR_INVALID_PARAMETER;
    HKEY hKey = nullptr;
    LONG rc = RegOpenKeyExW(hRoot, path, 0, KEY_READ, &hKey);
    if (rc == ERROR_SUCCESS)
        m_hKey = hKey;
    return rc;
}

LONG KivoRegKey::Create(HKEY hRoot, LPCWSTR path)
{
    Close();
    if (!hRoot || !path)
        return ERROR_INVALID_PARAMETER;
    HKEY hKey = nullptr;
    LONG rc = RegCreateKeyExW(hRoot, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                              nullptr, &hKey, nullptr);
    if (rc == ERROR_SUCCESS)
        m_hKey = hKey;
    return rc;
}

LONG KivoRegKey::Read(LPCWSTR name, DWORD& value)
{
    if (!m_hKey)
        return ERROR_INVALID_HANDLE;
    DWORD type = REG_NONE;
    DWORD data = 0;
    DWORD cb = sizeof(data);
    LONG rc = RegQueryValueExW(m_hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &cb);
    if (rc == ERROR_MORE_DATA)
        return ERROR_INVALID_DATA;
    if (rc != ERROR_SUCCESS)
        return rc;
    if (type != REG_DWORD)
        return ERROR_UNSUPPORTED_TYPE;
    if (cb != sizeof(data))
        return ERROR_INVALID_DATA;
    value = data;
    return ERROR_SUCCESS;
}

LONG KivoRegKey::ReadString(LPCWSTR name, LPWSTR buffer, DWORD cchBuffer)
{
    if (!m_hKey)
        return ERROR_INVALID_HANDLE;
    if (!buffer || cchBuffer == 0)
        return ERROR_INVALID_PARAMETER;
    DWORD type = REG_NONE;
    DWORD cb = 0;
    LONG rc = RegQueryValueExW(m_hKey, name, nullptr, &type, nullptr, &cb);
    if (rc != ERROR_SUCCESS)
        return rc;
    if (type != REG_SZ)
        return ERROR_UNSUPPORTED_TYPE;
    if (cb % sizeof(WCHAR) != 0)
        return ERROR_INVALID_DATA;
    // One character more than stored, so that a value written without its terminator gets one.
    std::vector<WCHAR> data(cb / sizeof(WCHAR) + 1, L'\0');
    DWORD cbRead = cb;
    rc = RegQueryValueExW(m_hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &cbRead);
    if (rc != ERROR_SUCCESS)
        return rc == ERROR_MORE_DATA ? ERROR_INVALID_DATA : rc;   // changed under us
    if (type != REG_SZ)
        return ERROR_UNSUPPORTED_TYPE;
    size_t length = wcsnlen(data.data(), cbRead / sizeof(WCHAR));
    if (length + 1 > cchBuffer)
        return ERROR_MORE_DATA;
    wmemcpy(buffer, data.data(), length);
    buffer[length] = L'\0';
    return ERROR_SUCCESS;
}

LONG KivoRegKey::Write(LPCWSTR name, DWORD value)
{
    if (!m_hKey)
        return ERROR_INVALID_HANDLE;
    return RegSetValueExW(m_hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

LONG KivoRegKey::Write(LPCWSTR name, LPCWSTR value)
{
    if (!m_hKey)
        return ERROR_INVALID_HANDLE;
    if (!value)
        return ERROR_INVALID_PARAMETER;
    size_t cb = (wcslen(value) + 1) * sizeof(WCHAR);
    if (cb > MAXDWORD)
        return ERROR_INVALID_PARAMETER;
    return RegSetValueExW(m_hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), static_cast<DWORD>(cb));
}

void KivoRegKey::Close()
{
    if (m_hKey) {
        RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
}
