// Files installed beside KivoLib.dll: the settings program and its help file, whose editions in
// other languages than English lie in a folder named for the language (de\KivoSet.chm).
#include "KivoLib.h"
#include "ThisModule.h"

extern "C" KIVOLIB_API BOOL __cdecl KivoGetSiblingPath(LPCWSTR fileName, LPWSTR path, DWORD cchPath)
{
    if (!fileName || !*fileName || !path || cchPath == 0)
        return FALSE;
    WCHAR module[MAX_PATH * 2];
    DWORD n = GetModuleFileNameW(thisModule(), module, ARRAYSIZE(module));
    if (n == 0 || n >= ARRAYSIZE(module))
        return FALSE;
    WCHAR* slash = wcsrchr(module, L'\\');
    if (!slash)
        return FALSE;
    slash[1] = L'\0';
    size_t need = wcslen(module) + wcslen(fileName) + 1;
    if (need > cchPath)
        return FALSE;
    wcscpy(path, module);
    wcscat(path, fileName);
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

extern "C" KIVOLIB_API BOOL __cdecl KivoGetHelpPath(LPWSTR path, DWORD cchPath)
{
    std::wstring language = kivoLanguageFolder();
    if (!language.empty() && KivoGetSiblingPath((language + L"\\KivoSet.chm").c_str(), path, cchPath))
        return TRUE;
    return KivoGetSiblingPath(L"KivoSet.chm", path, cchPath);
}
