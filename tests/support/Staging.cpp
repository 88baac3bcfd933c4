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

// Copies one file of the stage, named by its path below the stage ("data\\stil01.bmp"), making the
// folders on the way.
bool copyFromStage(const std::wstring& folder, const std::wstring& name)
{
    for (size_t slash = name.find(L'\\'); slash != std::wstring::npos; slash = name.find(L'\\', slash + 1))
        CreateDirectoryW((folder + L"\\" + name.substr(0, slash)).c_str(), nullptr);
    return CopyFileW(stageFile(name).c_str(), (folder + L"\\" + name).c_str(), FALSE) != FALSE;
}

// Every file below the stage's subfolder (empty: the stage itself), by its path below the stage.
void listStage(const std::wstring& subfolder, std::vector<std::wstring>& names)
{
    std::wstring prefix = subfolder.empty() ? std::wstring() : subfolder + L"\\";
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW(stageFile(prefix + L"*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            listStage(prefix + name, names);
        else
            names.push_back(prefix + name);
    } while (FindNextFileW(hFind, &data));
    FindClose(hFind);
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
    std::vector<std::wstring> names;
    listStage(std::wstring(), names);
    bool ok = !names.empty();
    for (const std::wstring& name : names) {
        if (!listed(leaveOut, name))
            ok = copyFromStage(folder, name) && ok;
    }
    return ok;
}

} // namespace kivotest
