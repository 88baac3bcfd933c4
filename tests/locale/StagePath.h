// Where the tests find the installation they check: the stage folder beside the tests folder.
#pragma once

#include <windows.h>

#include <string>

// Full path of a file of the stage folder, from this test program's own location
// (build/win/tests/x.exe -> build/win/stage/fileName).
inline std::wstring stagePath(const wchar_t* fileName)
{
    wchar_t self[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, n);
    path.resize(path.find_last_of(L"\\/") + 1);
    path += L"..\\stage\\";
    path += fileName;
    wchar_t full[MAX_PATH];
    DWORD m = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return m > 0 && m < MAX_PATH ? std::wstring(full, m) : path;
}
