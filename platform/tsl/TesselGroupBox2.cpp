// A group box: a one-pixel frame with its title on the parent's background. Only the frame and the
// title are drawn; the inside belongs to the parent and the controls in it.
#include "FlatControl.h"
#include "TslControls.h"
#include "TslLook.h"

using namespace tsl;

IMPLEMENT_DYNAMIC(TesselGroupBox2, CButton)

namespace {

void paintGroupBox(HWND hWnd, HDC hdc)
{
    const Palette look = palette();
    DcStateGuard state(hdc);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0));
    if (font)
        ::SelectObject(hdc, font);
    HBRUSH background = parentControlBrush(hWnd, hdc);
    COLORREF titleColor = ::GetTextColor(hdc);
    RECT client;
    ::GetClientRect(hWnd, &client);
    CString title = windowText(hWnd);
    RECT titleRect = {8, 0, client.right - 8, 0};
    ::DrawTextW(hdc, title, title.GetLength(), &titleRect, DT_SINGLELINE | DT_CALCRECT);
    int lineY = title.IsEmpty() ? 0 : (titleRect.bottom - titleRect.top) / 2;
    bool enabled = ::IsWindowEnabled(hWnd) != FALSE;
    frameRect(hdc, {client.left, lineY, client.right, client.bottom}, enabled ? look.line : look.lineDisabled);
    if (title.IsEmpty())
        return;
    RECT behind = titleRect;
    ::InflateRect(&behind, 3, 0);
    ::FillRect(hdc, &behind, background);
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, enabled ? titleColor : look.textDisabled);
    ::DrawTextW(hdc, title, title.GetLength(), &titleRect, DT_SINGLELINE);
}

} // namespace

TesselGroupBox2::TesselGroupBox2() = default;
TesselGroupBox2::~TesselGroupBox2() = default;

LRESULT TesselGroupBox2::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = m_hWnd;
    LRESULT answered = 0;
    auto paint = [hWnd](HDC hdc) { paintGroupBox(hWnd, hdc); };
    if (answerPaintMessages(hWnd, message, wParam, PaintDc::BeginPaint, paint, &answered))
        return answered;
    LRESULT result = CButton::WindowProc(message, wParam, lParam);
    if (message == WM_SETTEXT || message == WM_ENABLE || message == WM_UPDATEUISTATE)
        redrawNowIfAlive(hWnd);
    return result;
}
