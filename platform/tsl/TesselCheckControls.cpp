// Check boxes and radio buttons: the system keeps their state and behaviour; the library draws
// them flat. The system also draws them directly (not through WM_PAINT) when their state changes,
// so after each such message the library draws again at once.
#include "FlatControl.h"
#include "TslControls.h"
#include "TslLook.h"

using namespace tsl;

IMPLEMENT_DYNAMIC(TesselCheckBox, CButton)
IMPLEMENT_DYNAMIC(TesselRadioButton, CButton)

namespace {

bool changesLook(UINT message)
{
    switch (message) {
    case BM_SETCHECK:
    case BM_SETSTATE:
    case BM_CLICK:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_UPDATEUISTATE:
    case WM_CAPTURECHANGED:
        return true;
    default:
        return false;
    }
}

void drawCheckMark(HDC hdc, const RECT& box, COLORREF ink)
{
    int s = box.right - box.left;
    int x0 = box.left + s / 5, y0 = box.top + s / 2;
    int x1 = box.left + s * 2 / 5, y1 = box.bottom - s / 4;
    int x2 = box.right - s / 5, y2 = box.top + s / 4;
    line(hdc, x0, y0, x1, y1, ink, 2);
    line(hdc, x1, y1, x2, y2, ink, 2);
}

void drawDisc(HDC hdc, const RECT& r, COLORREF fill, COLORREF outline)
{
    drawOutlined(hdc, fill, outline, [&] { ::Ellipse(hdc, r.left, r.top, r.right, r.bottom); });
}

// Draws the whole control: the parent's background, the box or ring, the label and the focus cue.
void paintCheckControl(HWND hWnd, HDC target, bool radio, bool hot)
{
    const Palette look = palette();
    ControlCanvas buffer(hWnd, target, ControlCanvas::ControlFont);
    HDC hdc = buffer.dc();
    const RECT& client = buffer.client();
    HBRUSH background = parentControlBrush(hWnd, hdc);
    ::FillRect(hdc, &client, background);
    COLORREF labelColor = ::GetTextColor(hdc);

    bool enabled = ::IsWindowEnabled(hWnd) != FALSE;
    LRESULT check = ::SendMessageW(hWnd, BM_GETCHECK, 0, 0);
    bool pushed = (::SendMessageW(hWnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    int size = 13;
    int top = (client.bottom - size) / 2;
    RECT box = {0, top, size, top + size};
    COLORREF face = !enabled ? look.faceDisabled : pushed ? look.hotFace : look.field;
    COLORREF outline = !enabled ? look.lineDisabled : (hot || pushed) ? look.accent : look.line;
    COLORREF ink = enabled ? look.slate : look.textDisabled;
    if (radio) {
        drawDisc(hdc, box, face, outline);
        if (check == BST_CHECKED) {
            RECT dot = box;
            ::InflateRect(&dot, -3, -3);
            drawDisc(hdc, dot, ink, ink);
        }
    } else {
        fillRect(hdc, box, face);
        frameRect(hdc, box, outline);
        if (check == BST_CHECKED) {
            drawCheckMark(hdc, box, ink);
        } else if (check == BST_INDETERMINATE) {
            RECT mark = box;
            ::InflateRect(&mark, -3, -3);
            fillRect(hdc, mark, ink);
        }
    }

    CString text = windowText(hWnd);
    RECT label = {size + 5, client.top, client.right, client.bottom};
    LONG style = ::GetWindowLongW(hWnd, GWL_STYLE);
    UINT format = (style & BS_MULTILINE) ? DT_WORDBREAK : (DT_SINGLELINE | DT_VCENTER);
    if (::SendMessageW(hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL)
        format |= DT_HIDEPREFIX;
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, enabled ? labelColor : look.textDisabled);
    RECT measured = label;
    ::DrawTextW(hdc, text, text.GetLength(), &measured, format | DT_CALCRECT);
    if (format & DT_VCENTER)
        ::OffsetRect(&measured, 0, (label.bottom - label.top - (measured.bottom - measured.top)) / 2);
    ::DrawTextW(hdc, text, text.GetLength(), &label, format);
    if (::GetFocus() == hWnd && showsFocusCues(hWnd) && !text.IsEmpty()) {
        ::InflateRect(&measured, 1, 1);
        ::IntersectRect(&measured, &measured, &client);
        ::SetTextColor(hdc, look.text);
        ::SetBkColor(hdc, RGB(255, 255, 255));
        ::DrawFocusRect(hdc, &measured);
    }
    buffer.copy();
}

} // namespace

TesselCheckControl::TesselCheckControl(bool radio) : m_radio(radio) {}
TesselCheckControl::~TesselCheckControl() = default;

// The library paints and tracks the mouse; the system keeps the state, after which the library
// draws again at once.
LRESULT TesselCheckControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = m_hWnd;
    LRESULT result = 0;
    auto paint = [this, hWnd](HDC hdc) { paintCheckControl(hWnd, hdc, m_radio, m_hot); };
    if (answerPaintMessages(hWnd, message, wParam, PaintDc::BeginPaint, paint, &result))
        return result;
    followHover(hWnd, message, m_hot);
    result = CButton::WindowProc(message, wParam, lParam);
    if (changesLook(message))
        redrawNowIfAlive(hWnd);
    return result;
}

TesselCheckBox::TesselCheckBox() : TesselCheckControl(false) {}
TesselCheckBox::~TesselCheckBox() = default;

TesselRadioButton::TesselRadioButton() : TesselCheckControl(true) {}
TesselRadioButton::~TesselRadioButton() = default;
