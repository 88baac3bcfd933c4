/* Stands in for the HTML Help control: records every HtmlHelpW call, one line each, to the file
   named by KIVO_HELP_RECORD. Exported at the control's ordinal for HtmlHelpW. */
#include <windows.h>
#include <stdio.h>

HWND WINAPI RecordingHtmlHelpW(HWND hwndCaller, LPCWSTR pszFile, UINT uCommand, DWORD_PTR dwData)
{
    WCHAR path[MAX_PATH];
    FILE* f;
    (void)hwndCaller;
    if (!GetEnvironmentVariableW(L"KIVO_HELP_RECORD", path, MAX_PATH))
        return NULL;
    f = _wfopen(path, L"ab");
    if (!f)
        return NULL;
    fprintf(f, "file=%ls command=%u data=%lu\n", pszFile ? pszFile : L"(null)", uCommand,
            (unsigned long)dwData);
    fclose(f);
    return NULL;
}

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD reason, LPVOID reserved)
{
    (void)hInstance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
