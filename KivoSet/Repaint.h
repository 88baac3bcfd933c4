// The skinned pages and dialogs repaint themselves whole at once when they are activated or when the
// system asks them to synchronise their frame painting (WM_SYNCPAINT), so that no part of the skin
// is left half drawn behind another window.
#pragma once

#include <windows.h>

inline void repaintNow(HWND hWnd)
{
    if (!hWnd)
        return;
    InvalidateRect(hWnd, nullptr, TRUE);
    UpdateWindow(hWnd);
}
