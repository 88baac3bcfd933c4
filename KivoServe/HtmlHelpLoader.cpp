#include "HtmlHelpLoader.h"

#include <cstring>

namespace HtmlHelpLoader {

namespace {

typedef HWND(WINAPI* HtmlHelpWProc)(HWND, LPCWSTR, UINT, DWORD_PTR);

const char kControlClassKey[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
const char kControlFileName[] = "hhctrl.ocx";
const WORD kHtmlHelpWOrdinal = 15;
const DWORD kPathBufferSize = 260;

// Process-wide: the module is never freed; a failure is final.
HMODULE g_hHelpModule = nullptr;
bool g_bLoadFailed = false;
HtmlHelpWProc g_pfnHtmlHelpW = nullptr;

// The control's registered path, or false when there is none that fits and is terminated.
bool readRegisteredPath(char (&path)[kPathBufferSize])
{
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kControlClassKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD size = kPathBufferSize;
    LONG rc = RegQueryValueExA(hKey, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(hKey);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    if (size == 0 || size > kPathBufferSize || path[size - 1] != '\0')
        return false;
    if (type == REG_EXPAND_SZ) {
        char expanded[kPathBufferSize];
        DWORD n = ExpandEnvironmentStringsA(path, expanded, kPathBufferSize);
        if (n == 0 || n > kPathBufferSize)
            return false;
        memcpy(path, expanded, n);
    }
    return true;
}

void loadControl()
{
    char path[kPathBufferSize];
    if (readRegisteredPath(path))
        g_hHelpModule = LoadLibraryA(path);
    if (!g_hHelpModule)
        g_hHelpModule = LoadLibraryA(kControlFileName);
    if (!g_hHelpModule)
        g_bLoadFailed = true;
}

} // namespace

HWND HtmlHelpW(HWND hwndCaller, LPCWSTR pszFile, UINT uCommand, DWORD_PTR dwData)
{
    if (!g_hHelpModule && !g_bLoadFailed)
        loadControl();
    if (g_bLoadFailed)
        return nullptr;
    if (!g_pfnHtmlHelpW) {
        g_pfnHtmlHelpW = reinterpret_cast<HtmlHelpWProc>(
            reinterpret_cast<void*>(GetProcAddress(g_hHelpModule, MAKEINTRESOURCEA(kHtmlHelpWOrdinal))));
        if (!g_pfnHtmlHelpW) {
            g_bLoadFailed = true;
            return nullptr;
        }
    }
    return g_pfnHtmlHelpW(hwndCaller, pszFile, uCommand, dwData);
}

} // namespace HtmlHelpLoader
