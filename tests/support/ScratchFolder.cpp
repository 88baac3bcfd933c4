#include "ScratchFolder.h"

#include "UniqueName.h"

#include <windows.h>

namespace kivotest {

ScratchFolder::ScratchFolder(const std::wstring& stem, const std::wstring& parent)
{
    std::wstring base = parent;
    if (base.empty()) {
        WCHAR temp[MAX_PATH];
        DWORD n = GetTempPathW(MAX_PATH, temp);
        base.assign(temp, n > 0 && n < MAX_PATH ? n : 0);
    }
    if (!base.empty() && base.back() != L'\\')
        base += L'\\';
    m_path = base + uniqueName(stem);
    removeFolderTree(m_path);   // left over by an earlier process of the same id
    m_created = CreateDirectoryW(m_path.c_str(), nullptr) != FALSE;
}

ScratchFolder::~ScratchFolder()
{
    removeFolderTree(m_path);
}

void removeFolderTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeFolderTree(path);
            else if (!DeleteFileW(path.c_str()) && (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY)) {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(hFind, &data));
        FindClose(hFind);
    }
    RemoveDirectoryW(folder.c_str());
}

} // namespace kivotest
