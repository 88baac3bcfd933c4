#include "TslDialogs.h"
#include "TslAccessible.h"
#include "TesselCaption.h"
#include "TslLook.h"

IMPLEMENT_DYNAMIC(AbstractDialog, CDialog)

BEGIN_MESSAGE_MAP(AbstractDialog, CDialog)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

AbstractDialog::AbstractDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd), m_caption(new TesselCaption)
{
}

AbstractDialog::~AbstractDialog() = default;

void AbstractDialog::SetPainter(AbstractDialogPainter* painter)
{
    m_painter = painter;
    if (m_hWnd && ::IsWindowVisible(m_hWnd))
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
}

BOOL AbstractDialog::OnInitDialog()
{
    BOOL result = CDialog::OnInitDialog();
    tsl::applyVisualStyleSwitch(m_hWnd);
    if (!(::GetWindowLongW(m_hWnd, GWL_STYLE) & WS_CHILD))
        tsl::takeOverFrame(m_hWnd);
    return result;
}

LRESULT AbstractDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return paintedWindowProc(message, wParam, lParam);
    // The controls are described once the program's own OnInitDialog has bound them all, so that
    // the description sits on top of every subclass the program put on them.
    HWND hWnd = m_hWnd;
    LRESULT result = paintedWindowProc(message, wParam, lParam);
    if (::IsWindow(hWnd))
        TslDescribeControls(hWnd);
    return result;
}

LRESULT AbstractDialog::paintedWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_painter)
        return CDialog::WindowProc(message, wParam, lParam);
    LRESULT result = 0;
    HWND hWnd = m_hWnd;
    if (m_caption->handleBefore(hWnd, *m_painter, message, wParam, lParam, &result))
        return result;
    // The painter is read before the default processing: the window (and this object) may be
    // gone after it.
    AbstractDialogPainter* painter = m_painter;
    TesselCaption* caption = m_caption.get();
    result = CDialog::WindowProc(message, wParam, lParam);
    if (message != WM_NCDESTROY && message != WM_DESTROY && ::IsWindow(hWnd) &&
        CWnd::FromHandlePermanent(hWnd) == this)
        caption->handleAfter(hWnd, *painter, message, wParam);
    return result;
}

void AbstractDialog::OnPaint()
{
    CPaintDC dc(this);
    if (!m_painter)
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    tsl::DcStateGuard state(dc.GetSafeHdc());
    m_painter->DrawClient(dc, client);
}

BOOL AbstractDialog::OnEraseBkgnd(CDC* pDC)
{
    if (!m_painter)
        return CDialog::OnEraseBkgnd(pDC);
    // OnPaint draws the whole client area; erasing first would only flicker.
    return TRUE;
}
