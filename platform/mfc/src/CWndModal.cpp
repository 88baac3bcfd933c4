// The framework's modal loop and the owner of modal windows.
#include "afximpl.h"

namespace {

const UINT WM_SYSTIMER = 0x0118;   // caret blink: the first one means the window may be shown

bool isInputToShowFor(UINT message)
{
    return message == WM_SYSTIMER || message == WM_SYSKEYDOWN;
}

} // namespace

// Runs until EndModalLoop, the window's destruction, or WM_QUIT, which is posted again for the loop
// outside this one. Idle time shows the window (MLF_SHOWONIDLE) and frees temporary wrappers made
// inside this loop.
int CWnd::RunModalLoop(DWORD dwFlags)
{
    bool idle = true;
    LONG idleCount = 0;
    bool showOnIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND hWndParent = ::GetParent(m_hWnd);
    m_nFlags |= (WF_MODALLOOP | WF_CONTINUEMODAL);
    CWinThread* pThread = AfxGetThread();
    MSG peeked;

    for (;;) {
        while (idle && !::PeekMessageW(&peeked, nullptr, 0, 0, PM_NOREMOVE)) {
            if (showOnIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                showOnIdle = false;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent && idleCount == 0)
                ::SendMessageW(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(m_hWnd));
            if ((dwFlags & MLF_NOKICKIDLE) || !pThread || !pThread->OnIdle(idleCount++))
                idle = false;
        }
        do {
            if (!AfxPumpMessage()) {
                ::PostQuitMessage(pThread ? static_cast<int>(pThread->m_msgCur.wParam) : 0);
                m_nModalResult = -1;
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return -1;
            }
            if (showOnIdle && pThread && isInputToShowFor(pThread->m_msgCur.message)) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                showOnIdle = false;
            }
            if (!ContinueModal()) {
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return m_nModalResult;
            }
            if (pThread && pThread->IsIdleMessage(&pThread->m_msgCur)) {
                idle = true;
                idleCount = 0;
            }
        } while (::PeekMessageW(&peeked, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWnd::ContinueModal()
{
    return (m_nFlags & WF_CONTINUEMODAL) && m_hWnd != nullptr;
}

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        PostMessage(WM_NULL);   // wakes the loop if it waits for a message
    }
}

CWnd* PASCAL CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop)
{
    HWND hWnd = pParent ? pParent->m_hWnd : nullptr;
    if (!pParent) {
        CWnd* pMain = AfxGetMainWnd();
        hWnd = pMain ? pMain->m_hWnd : nullptr;
    }
    // A popup window cannot be owned by a child window.
    while (hWnd && (::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);

    HWND hWndTop = hWnd;
    for (HWND h = hWnd; h; h = ::GetParent(h))
        hWndTop = h;

    // Without a parent the owner is whatever popup of the main window was active last (a dialog
    // opened from a property sheet is owned by the sheet).
    if (!pParent && hWnd)
        hWnd = ::GetLastActivePopup(hWnd);

    if (pWndTop) {
        if (hWndTop && ::IsWindowEnabled(hWndTop) && hWndTop != hWnd) {
            *pWndTop = hWndTop;
            ::EnableWindow(hWndTop, FALSE);
        } else {
            *pWndTop = nullptr;
        }
    }
    return FromHandle(hWnd);
}

bool PASCAL CWnd::DisableModalOwner(HWND hWndOwner)
{
    if (!hWndOwner || !::IsWindowEnabled(hWndOwner))
        return false;
    ::EnableWindow(hWndOwner, FALSE);
    return true;
}

void CWnd::EndModalWindow(HWND hWndOwner, bool enableOwner, HWND hWndTop)
{
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (enableOwner && ::IsWindow(hWndOwner))
        ::EnableWindow(hWndOwner, TRUE);
    if (m_hWnd && hWndOwner && ::IsWindow(hWndOwner) && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndOwner);
    if (m_hWnd)
        DestroyWindow();
    if (hWndTop && ::IsWindow(hWndTop))
        ::EnableWindow(hWndTop, TRUE);
}
