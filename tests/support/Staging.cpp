#include "Staging.h"

#include "TestPaths.h"

#include <windows.h>

#include <algorithm>

namespace kivotest {

namespace {

bool listed(const std::vector<std::wstring>& names, const std::wstring& name)
{
    return std::any_of(names.begin(), names.end(),
                       [&](const std::wstring& n) { return _wcsicmp(n.c_str(), name.c_str()) == 0; });
}

bool copyFromStage(const std::wstring& folder, const std::wstring& name)
{
    return CopyFileW(stageFile(name).c_str(), (folder + L"\\" + name).c_str(), FALSE) != FALSE;
}

} // namespace

const std::vector<std::wstring>& librariesEveryProgramNeeds()
{
    static const std::vector<std::wstring> libraries = {L"KivoAfx.dll"};
    return libraries;
}

bool stageFiles(const std::wstring& folder, const std::vector<std::wstring>& names,
                const std::vector<std::wstring>& leaveOut)
{
    bool ok = true;
    for (const std::wstring& name : names) {
        if (!listed(leaveOut, name))
            ok = copyFromStage(folder, name) && ok;
    }
    for (const std::wstring& library : librariesEveryProgramNeeds()) {
        bool inStage = GetFileAttributesW(stageFile(library).c_str()) != INVALID_FILE_ATTRIBUTES;
        if (inStage && !listed(leaveOut, library) && !listed(names, library))
            ok = copyFromStage(folder, library) && ok;
    }
    return ok;
}

bool stageEverything(const std::wstring& folder, const std::vector<std::wstring>& leaveOut)
{
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW(stageFile(L"*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !listed(leaveOut, data.cFileName))
            ok = copyFromStage(folder, data.cFileName) && ok;
    } while (FindNextFileW(hFind, &data));
    FindClose(hFind);
    return ok;
}

} // namespace kivotest
