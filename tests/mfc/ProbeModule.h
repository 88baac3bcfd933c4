// A DLL of the framework's tests that links the framework like the skin library does, and reports
// what the framework answers inside it.
#pragma once

#include "afxwin.h"

struct ProbeModuleView {
    CWinApp* pApp;
    CWnd* pMainWnd;
    HINSTANCE hResource;
    CWnd* pBound;   // the object bound to the window asked about
};

typedef void (*ProbeModuleViewFn)(HWND hWnd, ProbeModuleView* pView);
