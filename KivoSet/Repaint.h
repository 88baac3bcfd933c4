// The skinned pages and dialogs repaint themselves whole at once when they are activated or when the
// system asks them to synchronise their frame painting (WM_SYNCPAINT), so that no part of the skin
// is left half drawn behind another window.
#pragma once

#include <afxwin.h>
#include <windows.h>

inline void repaintNow(HWND hWnd)
{
    if (!hWnd)
        return;
    InvalidateRect(hWnd, nullptr, TRUE);
    UpdateWindow(hWnd);
}

// Placed between a skinned dialog or page and its skin class. The derived class's message map
// keeps ON_WM_ACTIVATE(), which reaches OnActivate here; a DefWindowProc of its own chains here.
template <class SkinnedWindow>
class WholeRepaint : public SkinnedWindow {
public:
    using SkinnedWindow::SkinnedWindow;

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SYNCPAINT)
            repaintNow(this->GetSafeHwnd());
        return SkinnedWindow::DefWindowProc(message, wParam, lParam);
    }

    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
    {
        repaintNow(this->GetSafeHwnd());
        SkinnedWindow::OnActivate(nState, pWndOther, bMinimized);
    }
};
