// A drop-down list drawn as a flat white field with a one-pixel outline and a flat arrow; the list
// that drops down is the system's, coloured by the dialog (WM_CTLCOLORLISTBOX). The system also
// draws the field directly when the selection or the focus changes, so the library draws again
// after those messages. Other combo box kinds keep the system's look.
#include "FlatControl.h"
#include "TslControls.h"
#include "TslLook.h"

using namespace tsl;

IMPLEMENT_DYNAMIC(TesselComboBox, CComboBox)

namespace {

bool isDropDownList(HWND hWnd)
{
    return (::GetWindowLongW(hWnd, GWL_STYLE) & 0x3) == CBS_DROPDOWNLIST;
}

bool changesLook(UINT message)
{
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_COMMAND:
    case WM_CAPTURECHANGED:
    case WM_SETTEXT:
    case CB_SETCURSEL:
    case CB_SELECTSTRING:
    case CB_SHOWDROPDOWN:
    case CB_RESETCONTENT:
        return true;
    default:
        return false;
    }
}

void paintComboBox(HWND hWnd, HDC target, bool hot)
{
    const Palette look = palette();
    ControlCanvas buffer(hWnd, target, ControlCanvas::ControlFont);
    HDC hdc = buffer.dc();
    const RECT& client = buffer.client();
    bool enabled = ::IsWindowEnabled(hWnd) != FALSE;
    bool focused = ::GetFocus() == hWnd;
    bool dropped = ::SendMessageW(hWnd, CB_GETDROPPEDSTATE, 0, 0) != 0;

    fillRect(hdc, client, enabled ? look.field : look.faceDisabled);
    int arrowWidth = ::GetSystemMetrics(SM_CXVSCROLL);
    RECT arrow = {client.right - arrowWidth, client.top, client.right, client.bottom};
    fillRect(hdc, arrow, !enabled ? look.faceDisabled : dropped ? look.slate : hot ? look.hotFace : look.panel);
    COLORREF ink = !enabled ? look.textDisabled : dropped ? look.slateText : look.slate;
    int cx = (arrow.left + arrow.right) / 2, cy = (arrow.top + arrow.bottom) / 2;
    for (int row = 0; row < 4; ++row)   // a small triangle pointing down
        fillRect(hdc, {cx - 3 + row, cy - 2 + row, cx + 4 - row, cy - 1 + row}, ink);
    fillRect(hdc, {arrow.left, client.top, arrow.left + 1, client.bottom}, enabled ? look.line : look.lineDisabled);
    frameRect(hdc, client, !enabled ? look.lineDisabled : (focused || hot || dropped) ? look.accent : look.line);

    int selection = static_cast<int>(::SendMessageW(hWnd, CB_GETCURSEL, 0, 0));
    CString text;
    if (selection >= 0) {
        int length = static_cast<int>(::SendMessageW(hWnd, CB_GETLBTEXTLEN, selection, 0));
        if (length > 0) {
            LPWSTR buffer = text.GetBuffer(length + 1);
            int copied = static_cast<int>(::SendMessageW(hWnd, CB_GETLBTEXT, selection,
                                                         reinterpret_cast<LPARAM>(buffer)));
            text.ReleaseBuffer(copied > 0 ? copied : 0);
        }
    }
    RECT field = {client.left + 2, client.top + 2, arrow.left - 2, client.bottom - 2};
    if (focused && !dropped && enabled)
        fillRect(hdc, field, look.hotFace);
    RECT textRect = field;
    textRect.left += 2;
    const COLORREF textColor = !enabled ? look.textDisabled : focused && !dropped ? look.text : look.fieldText;
    drawText(hdc, textRect, text, textColor,
             DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    buffer.copy();
}

} // namespace

TesselComboBox::TesselComboBox() = default;
TesselComboBox::~TesselComboBox() = default;

LRESULT TesselComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = m_hWnd;
    if (!isDropDownList(hWnd))
        return CComboBox::WindowProc(message, wParam, lParam);
    LRESULT answered = 0;
    auto paint = [hWnd, this](HDC hdc) { paintComboBox(hWnd, hdc, m_hot); };
    if (answerPaintMessages(hWnd, message, wParam, PaintDc::WParamFirst, paint, &answered))
        return answered;
    followHover(hWnd, message, m_hot);
    LRESULT result = CComboBox::WindowProc(message, wParam, lParam);
    if (changesLook(message))
        redrawNowIfAlive(hWnd);
    return result;
}
