#include "FlatControl.h"

namespace tsl {

void enterHover(HWND hWnd, bool& hot)
{
    if (hot)
        return;
    hot = true;
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hWnd, 0};
    ::TrackMouseEvent(&track);
    ::InvalidateRect(hWnd, nullptr, FALSE);
}

void leaveHover(HWND hWnd, bool& hot)
{
    hot = false;
    ::InvalidateRect(hWnd, nullptr, FALSE);
}

void redrawNowIfAlive(HWND hWnd)
{
    if (::IsWindow(hWnd))
        ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

} // namespace tsl
