#include "FlatControl.h"

namespace tsl {

namespace {

RECT clientRect(HWND hWnd)
{
    RECT client = {};
    ::GetClientRect(hWnd, &client);
    return client;
}

} // namespace

ControlCanvas::ControlCanvas(HWND hWnd, HDC target, Font font)
    : m_client(clientRect(hWnd)), m_buffer(target, m_client.right, m_client.bottom),
      m_state(m_buffer.dc())
{
    if (font == NoFont)
        return;
    HFONT own = reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0));
    if (own)
        ::SelectObject(m_buffer.dc(), own);
}

void followHover(HWND hWnd, UINT message, bool& hot)
{
    if (message == WM_MOUSEMOVE && !hot) {
        hot = true;
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hWnd, 0};
        ::TrackMouseEvent(&track);
        ::InvalidateRect(hWnd, nullptr, FALSE);
    } else if (message == WM_MOUSELEAVE) {
        hot = false;
        ::InvalidateRect(hWnd, nullptr, FALSE);
    }
}

void redrawNowIfAlive(HWND hWnd)
{
    if (::IsWindow(hWnd))
        ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

} // namespace tsl
