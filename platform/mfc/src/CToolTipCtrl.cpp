// Tool tips whose tools are windows, or rectangles of windows.
#include "afxcmn.h"

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

CToolTipCtrl::CToolTipCtrl() = default;

CToolTipCtrl::~CToolTipCtrl() = default;

// A top-level pop-up owned by pParentWnd, so that it goes with it.
BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    return CreateEx(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr);
}

namespace {

// The size every comctl32 version accepts (the last field, lpReserved, came later).
const UINT kToolInfoSize = TTTOOLINFOW_V2_SIZE;

// A whole window (nIDTool 0) is known by its handle and its parent; a rectangle by the window it is
// in and its id.
TOOLINFOW toolInfo(CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOW ti = {};
    ti.cbSize = kToolInfoSize;
    HWND hWnd = pWnd ? pWnd->m_hWnd : nullptr;
    if (nIDTool == 0) {
        ti.hwnd = ::GetParent(hWnd);
        ti.uFlags = TTF_IDISHWND;
        ti.uId = reinterpret_cast<UINT_PTR>(hWnd);
    } else {
        ti.hwnd = hWnd;
        ti.uId = nIDTool;
    }
    return ti;
}

} // namespace

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    if (nIDText == 0)
        return FALSE;
    // A string table block holds ids 16n..16n+15 and is resource number n+1.
    LPCWSTR block = MAKEINTRESOURCEW((nIDText >> 4) + 1);
    return addTool(pWnd, AfxFindResourceHandle(block, RT_STRING), MAKEINTRESOURCEW(nIDText), lpRectTool, nIDTool);
}

// LPSTR_TEXTCALLBACKW asks ti.hwnd for the text (TTN_GETDISPINFO) each time the tip shows.
BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCWSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    return addTool(pWnd, nullptr, lpszText, lpRectTool, nIDTool);
}

// A rectangle tool without a rectangle covers pWnd's client area.
BOOL CToolTipCtrl::addTool(CWnd* pWnd, HINSTANCE hInstText, LPCWSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    if (!pWnd || !pWnd->m_hWnd)
        return FALSE;
    TOOLINFOW ti = toolInfo(pWnd, nIDTool);
    ti.hinst = hInstText;
    ti.lpszText = const_cast<LPWSTR>(lpszText);
    if (nIDTool != 0) {
        if (lpRectTool)
            ti.rect = *lpRectTool;
        else
            ::GetClientRect(pWnd->m_hWnd, &ti.rect);
    }
    return SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOW ti = toolInfo(pWnd, nIDTool);
    SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(LPCWSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOW ti = toolInfo(pWnd, nIDTool);
    ti.lpszText = const_cast<LPWSTR>(lpszText);
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate); }

// The tip follows the mouse over its tools only through the messages handed to it here.
void CToolTipCtrl::RelayEvent(LPMSG lpMsg)
{
    if (lpMsg && m_hWnd)
        SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg));
}

int CToolTipCtrl::SetMaxTipWidth(int iWidth)
{
    return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth));
}

// The initial delay; the others follow from it (reshow a fifth, autopop ten times).
void CToolTipCtrl::SetDelayTime(UINT nDelay)
{
    SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(nDelay, 0));
}

void CToolTipCtrl::Pop() { SendMessage(TTM_POP); }
