#include "TslDialogs.h"
#include "TslAccessible.h"
#include "TesselCaption.h"
#include "TslLook.h"

IMPLEMENT_DYNAMIC(TesselPropertySheet, CPropertySheet)

BEGIN_MESSAGE_MAP(TesselPropertySheet, CPropertySheet)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

namespace {

const int kApplyNowId = 0x3021;   // the sheet's Apply button
const int kSheetButtonIds[4] = {IDOK, IDCANCEL, kApplyNowId, IDHELP};

// The system places a sheet at its first size and then grows it to hold the largest page, so
// that a sheet opened near the edge of the screen may reach past it, its buttons out of reach. The
// sheet is moved back inside the work area of its monitor (its top left corner first when it is
// larger than the area).
void keepInsideWorkArea(HWND hWnd)
{
    RECT window;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (!::GetWindowRect(hWnd, &window) ||
        !::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT& area = monitor.rcWork;
    LONG x = window.left, y = window.top;
    if (window.right > area.right)
        x -= window.right - area.right;
    if (window.bottom > area.bottom)
        y -= window.bottom - area.bottom;
    if (x < area.left)
        x = area.left;
    if (y < area.top)
        y = area.top;
    if (x != window.left || y != window.top)
        ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

TesselPropertySheet::TesselPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(nIDCaption, pParentWnd, iSelectPage), m_caption(new TesselCaption)
{
}

TesselPropertySheet::~TesselPropertySheet() = default;

void TesselPropertySheet::skinSheetControls()
{
    tsl::applyVisualStyleSwitch(m_hWnd);
    tsl::takeOverFrame(m_hWnd);
    for (int i = 0; i < 4; ++i) {
        HWND button = ::GetDlgItem(m_hWnd, kSheetButtonIds[i]);
        if (button && !m_sheetButtons[i].m_hWnd)
            m_sheetButtons[i].SubclassWindow(button);
    }
    // The row of page tabs is read by the sheet's caption.
    TslDescribeControls(m_hWnd);
    HWND tabs = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, PSM_GETTABCONTROL, 0, 0));
    if (tabs)
        TslSetAccessibleName(tabs, tsl::windowText(m_hWnd));
}

LRESULT TesselPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    HWND hWnd = m_hWnd;
    if (m_caption->handleBefore(hWnd, m_painter, message, wParam, lParam, &result))
        return result;
    TesselCaption* caption = m_caption.get();
    result = CPropertySheet::WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY || message == WM_DESTROY || !::IsWindow(hWnd) ||
        CWnd::FromHandlePermanent(hWnd) != this)
        return result;
    if (message == WM_INITDIALOG) {
        skinSheetControls();
        keepInsideWorkArea(hWnd);
    }
    caption->handleAfter(hWnd, m_painter, message, wParam);
    return result;
}

BOOL TesselPropertySheet::OnEraseBkgnd(CDC* pDC)
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    tsl::DcStateGuard state(pDC->GetSafeHdc());
    m_painter.DrawClient(*pDC, client);
    return TRUE;
}

HBRUSH TesselPropertySheet::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    (void)pWnd;
    return tsl::controlColors(pDC->GetSafeHdc(), nCtlColor, m_bodyBrush, m_bodyBrush);
}
