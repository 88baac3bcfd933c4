/* A library without the control's HtmlHelpW entry point, for the loader's failure path. */
#include <windows.h>

__declspec(dllexport) int NotTheHelpEntry(void)
{
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD reason, LPVOID reserved)
{
    (void)hInstance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
