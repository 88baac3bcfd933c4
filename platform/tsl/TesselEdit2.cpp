// A number box: the sunken edge becomes a flat one-pixel outline (accent while it has the focus)
// around a white margin.
#include "TslControls.h"
#include "TslLook.h"

using namespace tsl;

IMPLEMENT_DYNAMIC(TesselEdit2, CEdit)

namespace {

void paintEditFrame(HWND hWnd)
{
    const Palette look = palette();
    LONG exStyle = ::GetWindowLongW(hWnd, GWL_EXSTYLE);
    LONG style = ::GetWindowLongW(hWnd, GWL_STYLE);
    if (!(exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) && !(style & WS_BORDER))
        return;
    RECT wr;
    ::GetWindowRect(hWnd, &wr);
    RECT window = {0, 0, wr.right - wr.left, wr.bottom - wr.top};
    RECT client;
    ::GetClientRect(hWnd, &client);
    ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    ::OffsetRect(&client, -wr.left, -wr.top);
    HDC hdc = ::GetWindowDC(hWnd);
    if (!hdc)
        return;
    ::ExcludeClipRect(hdc, client.left, client.top, client.right, client.bottom);
    bool enabled = ::IsWindowEnabled(hWnd) != FALSE;
    bool readOnly = (style & ES_READONLY) != 0;
    fillRect(hdc, window, enabled && !readOnly ? look.field : look.body);
    COLORREF outline = !enabled ? look.lineDisabled : ::GetFocus() == hWnd ? look.accent : look.line;
    frameRect(hdc, window, outline);
    ::ReleaseDC(hWnd, hdc);
}

} // namespace

TesselEdit2::TesselEdit2() = default;
TesselEdit2::~TesselEdit2() = default;

LRESULT TesselEdit2::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = m_hWnd;
    if (message == WM_NCPAINT) {
        LONG style = ::GetWindowLongW(hWnd, GWL_STYLE);
        if (style & (WS_HSCROLL | WS_VSCROLL))   // a frame with scroll bars stays the system's
            return CEdit::WindowProc(message, wParam, lParam);
        paintEditFrame(hWnd);
        return 0;
    }
    LRESULT result = CEdit::WindowProc(message, wParam, lParam);
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case EM_SETREADONLY:
        if (::IsWindow(hWnd))
            paintEditFrame(hWnd);
        break;
    default:
        break;
    }
    return result;
}
