/* A resource-only library for the framework tests. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD reason, LPVOID reserved)
{
    (void)hInstance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
