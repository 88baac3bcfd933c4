// Push buttons drawn through a painter. The button becomes owner-drawn, so that the system never
// draws it, but it answers the dialog manager as the push button it was: WM_GETDLGCODE reports a
// (default) push button and BM_SETSTYLE moves the default state without undoing owner drawing.
#include "TslButtons.h"
#include "ControlDescription.h"
#include "TslLook.h"

#include <oleacc.h>

IMPLEMENT_DYNAMIC(AbstractButton, CButton)

BEGIN_MESSAGE_MAP(AbstractButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_PAINT()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

namespace {

// Redraws the button if it still exists after a handler that may have ended it.
void repaint(HWND hWnd)
{
    if (hWnd && ::IsWindow(hWnd))
        ::InvalidateRect(hWnd, nullptr, FALSE);
}

// Lets the button's own procedure handle the current message, then redraws the button. A click
// may end the dialog and this object with it: only the handle is used afterwards.
void defaultThenRepaint(CWnd& button)
{
    HWND hWnd = button.m_hWnd;
    button.Default();
    repaint(hWnd);
}

} // namespace

AbstractButton::AbstractButton() = default;
AbstractButton::~AbstractButton() = default;

void AbstractButton::SetPainter(AbstractButtonPainter* painter)
{
    m_painter = painter;
    repaint(m_hWnd);
}

void AbstractButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    LONG type = style & BS_TYPEMASK;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW) {
        m_ownerDrawn = true;
        m_defaultButton = type == BS_DEFPUSHBUTTON;
        ::SetWindowLongW(m_hWnd, GWL_STYLE, (style & ~BS_TYPEMASK) | BS_OWNERDRAW);
    }
    tsl::applyVisualStyleSwitch(m_hWnd);
    repaint(m_hWnd);
}

long AbstractButton::AccessibleState() const
{
    return m_ownerDrawn && m_defaultButton ? STATE_SYSTEM_DEFAULT : 0;
}

LRESULT AbstractButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == tsl::accessibleStateMessage())
        return AccessibleState();
    if (m_ownerDrawn) {
        if (message == WM_GETDLGCODE)
            return DLGC_BUTTON | (m_defaultButton ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        // An owner-drawn button reports a quick second click as a double click; a push button
        // takes it as another press, and so does this one.
        if (message == WM_LBUTTONDBLCLK) {
            HWND hWnd = m_hWnd;
            LRESULT result = DefWindowProc(WM_LBUTTONDOWN, wParam, lParam);
            repaint(hWnd);
            return result;
        }
        if (message == BM_SETSTYLE) {
            m_defaultButton = (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
            wParam = (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW;
        }
    }
    HWND hWnd = m_hWnd;
    LRESULT result = CButton::WindowProc(message, wParam, lParam);
    switch (message) {
    case BM_SETSTYLE:
    case BM_SETSTATE:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_UPDATEUISTATE:
    case WM_CAPTURECHANGED:
        repaint(hWnd);
        break;
    default:
        break;
    }
    return result;
}

void AbstractButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    static TesselButtonPainter libraryLook;   // for a button that has no painter
    AbstractButtonPainter& painter = m_painter ? *m_painter : libraryLook;
    HDC hdc = lpDrawItemStruct->hDC;
    tsl::BorrowedDC dc(hdc);
    RECT rect = lpDrawItemStruct->rcItem;
    CString caption = tsl::windowText(m_hWnd);
    bool enabled = ::IsWindowEnabled(m_hWnd) != FALSE;
    if (!enabled)
        painter.DrawDisable(dc, rect, caption);
    else if (GetState() & BST_PUSHED)
        painter.DrawDown(dc, rect, caption);
    else if (m_hot)
        painter.DrawHot(dc, rect, caption);
    else
        painter.DrawNormal(dc, rect, caption);
    if (enabled && ::GetFocus() == m_hWnd && tsl::showsFocusCues(m_hWnd)) {
        RECT inner;
        GetInnerRect(rect, inner);
        painter.DrawFocus(dc, inner);
    }
}

void AbstractButton::GetInnerRect(const RECT& rect, RECT& inner)
{
    inner = rect;
    ::InflateRect(&inner, -3, -3);
}

void AbstractButton::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    if (!hdc)
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    {
        HFONT font = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
        HGDIOBJ oldFont = font ? ::SelectObject(hdc, font) : nullptr;
        tsl::BackBuffer buffer(hdc, client.right, client.bottom);
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = static_cast<UINT>(::GetDlgCtrlID(m_hWnd));
        dis.itemAction = ODA_DRAWENTIRE;
        dis.hwndItem = m_hWnd;
        dis.hDC = buffer.dc();
        dis.rcItem = client;
        DrawItem(&dis);
        buffer.copy();
        if (oldFont)
            ::SelectObject(hdc, oldFont);
    }
    ::EndPaint(m_hWnd, &ps);
}

BOOL AbstractButton::OnEraseBkgnd(CDC* pDC)
{
    (void)pDC;
    return TRUE;   // OnPaint draws every pixel
}

void AbstractButton::OnMouseMove(UINT nFlags, CPoint point)
{
    (void)nFlags;
    (void)point;
    if (!m_hot) {
        m_hot = true;
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&track);
        repaint(m_hWnd);
    }
    Default();
}

LRESULT AbstractButton::OnMouseLeave(WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    (void)lParam;
    m_hot = false;
    repaint(m_hWnd);
    return 0;
}

void AbstractButton::OnLButtonDown(UINT nFlags, CPoint point)
{
    (void)nFlags;
    (void)point;
    defaultThenRepaint(*this);
}

void AbstractButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    (void)nFlags;
    (void)point;
    defaultThenRepaint(*this);
}

void AbstractButton::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    (void)nChar;
    (void)nRepCnt;
    (void)nFlags;
    defaultThenRepaint(*this);
}

void AbstractButton::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    (void)nChar;
    (void)nRepCnt;
    (void)nFlags;
    defaultThenRepaint(*this);
}

void AbstractButton::OnSetFocus(CWnd* pOldWnd)
{
    (void)pOldWnd;
    defaultThenRepaint(*this);
}

void AbstractButton::OnKillFocus(CWnd* pNewWnd)
{
    (void)pNewWnd;
    defaultThenRepaint(*this);
}
