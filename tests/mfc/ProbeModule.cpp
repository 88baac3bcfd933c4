// What the framework answers from inside another module of the process.
#include "ProbeModule.h"

extern "C" __declspec(dllexport) void probeModuleView(HWND hWnd, ProbeModuleView* pView)
{
    pView->pApp = AfxGetApp();
    pView->pMainWnd = AfxGetMainWnd();
    pView->hResource = AfxGetResourceHandle();
    pView->pBound = CWnd::FromHandlePermanent(hWnd);
}
