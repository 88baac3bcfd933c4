#include "DataFolder.h"

#include "KivoLib.h"

#include <windows.h>

#include <vector>

std::wstring programRelativePath(const std::wstring& relativeName)
{
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD length = 0;
    for (;;) {
        length = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (length == 0)
            return relativeName;
        if (length < buffer.size())
            break;
        if (buffer.size() >= 32768)
            return relativeName;
        buffer.resize(buffer.size() * 2);
    }
    std::wstring folder(buffer.data(), length);
    size_t slash = folder.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return relativeName;
    folder.resize(slash + 1);
    std::wstring name = relativeName;
    if (name.compare(0, 2, L".\\") == 0 || name.compare(0, 2, L"./") == 0)
        name.erase(0, 2);
    return folder + name;
}

std::wstring languageDataPath(const std::wstring& relativeName)
{
    std::wstring path = programRelativePath(relativeName);
    std::wstring language = kivoLanguageFolder();
    size_t slash = path.find_last_of(L"\\/");
    if (language.empty() || slash == std::wstring::npos)
        return path;
    std::wstring edition = path.substr(0, slash + 1) + language + path.substr(slash);
    DWORD attributes = GetFileAttributesW(edition.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) ? edition : path;
}
