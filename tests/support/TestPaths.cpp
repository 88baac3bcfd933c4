#include "TestPaths.h"

#include <windows.h>

namespace kivotest {

std::wstring stageFolder()
{
    return KIVO_TEST_STAGE_FOLDER;
}

std::wstring stageFile(const std::wstring& name)
{
    return stageFolder() + L"\\" + name;
}

std::wstring testsFolder()
{
    return KIVO_TEST_TESTS_FOLDER;
}

std::wstring testsFile(const std::wstring& name)
{
    return testsFolder() + L"\\" + name;
}

std::wstring programFolder()
{
    WCHAR path[MAX_PATH * 2];
    DWORD n = GetModuleFileNameW(nullptr, path, ARRAYSIZE(path));
    std::wstring folder(path, n < ARRAYSIZE(path) ? n : 0);
    size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : folder.substr(0, slash);
}

std::wstring quoted(const std::wstring& path)
{
    return L"\"" + path + L"\"";
}

std::wstring windowsSearchPath()
{
    WCHAR windows[MAX_PATH];
    UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
    std::wstring folder(windows, n < MAX_PATH ? n : 0);
    return folder + L"\\system32;" + folder;
}

} // namespace kivotest
