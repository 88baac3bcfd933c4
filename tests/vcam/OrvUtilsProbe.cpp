// vcam_orvprobe: runs COrvUtilsApi from the KivoLib.dll beside it, as the programs do, and prints
// what it got: "init R", then, when Init succeeded, "signal S" before and after turning rear.
#include "KivoLib.h"

#include <cstdio>

int wmain()
{
    COrvUtilsApi api;
    int init = api.Init();
    wprintf(L"init %d\n", init);
    if (init != 1)
        return 0;
    DWORD signal = 0;
    int called = api.OuCallDriver(OUCD_TYPE_GET_SPECIAL_SIGNAL, &signal);
    wprintf(L"signal %d 0x%lx\n", called, static_cast<unsigned long>(signal));
    wprintf(L"unknown call %d\n", api.OuCallDriver(12, &signal));
    wprintf(L"turn bad %d\n", api.ChangeCameraDir(2));
    wprintf(L"turn rear %d\n", api.ChangeCameraDir(1));
    called = api.OuCallDriver(OUCD_TYPE_GET_SPECIAL_SIGNAL, &signal);
    wprintf(L"signal %d 0x%lx\n", called, static_cast<unsigned long>(signal));
    api.Release();
    wprintf(L"after release %d\n", api.ChangeCameraDir(0));
    return 0;
}
