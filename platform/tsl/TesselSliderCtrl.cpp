// A slider drawn flat: the parent's background, a thin channel, tick marks as the style asks, and a
// rounded thumb (slate outline; accent while it has the focus).
#include "FlatControl.h"
#include "TslControls.h"
#include "TslLook.h"

using namespace tsl;

IMPLEMENT_DYNAMIC(TesselSliderCtrl, CSliderCtrl)

namespace {

void roundRect(HDC hdc, const RECT& r, COLORREF fill, COLORREF outline)
{
    drawOutlined(hdc, fill, outline,
                 [&] { ::RoundRect(hdc, r.left, r.top, r.right, r.bottom, 4, 4); });
}

void drawTicks(HDC hdc, HWND hWnd, const RECT& client, const RECT& channel, const RECT& thumb, bool vertical)
{
    const Palette look = palette();
    LONG style = ::GetWindowLongW(hWnd, GWL_STYLE);
    if (style & TBS_NOTICKS)
        return;
    int count = static_cast<int>(::SendMessageW(hWnd, TBM_GETNUMTICS, 0, 0));
    // Below (right of) the thumb where there is room, else at the control's edge.
    int across = vertical ? thumb.right + 2 : thumb.bottom + 2;
    int limit = (vertical ? client.right : client.bottom) - 3;
    if (across > limit)
        across = limit;
    auto tickAt = [&](int pos) {
        if (vertical)
            fillRect(hdc, {across, pos, across + 3, pos + 1}, look.line);
        else
            fillRect(hdc, {pos, across, pos + 1, across + 3}, look.line);
    };
    int half = vertical ? (thumb.bottom - thumb.top) / 2 : (thumb.right - thumb.left) / 2;
    // The first and last ticks sit where the thumb's centre is at the ends of the range.
    tickAt(vertical ? channel.top + half : channel.left + half);
    tickAt(vertical ? channel.bottom - half - 1 : channel.right - half - 1);
    for (int i = 0; i < count - 2; ++i) {
        int pos = static_cast<int>(::SendMessageW(hWnd, TBM_GETTICPOS, i, 0));
        if (pos >= 0)
            tickAt(pos);
    }
}

void paintSlider(HWND hWnd, HDC target)
{
    const Palette look = palette();
    ControlCanvas buffer(hWnd, target, ControlCanvas::NoFont);
    HDC hdc = buffer.dc();
    const RECT& client = buffer.client();
    ::FillRect(hdc, &client, parentControlBrush(hWnd, hdc));

    bool vertical = (::GetWindowLongW(hWnd, GWL_STYLE) & TBS_VERT) != 0;
    bool enabled = ::IsWindowEnabled(hWnd) != FALSE;
    RECT channel = {}, thumb = {};
    ::SendMessageW(hWnd, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    ::SendMessageW(hWnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    if (vertical && channel.right - channel.left > channel.bottom - channel.top)
        channel = {channel.top, channel.left, channel.bottom, channel.right};   // given unrotated
    RECT groove = channel;
    if (vertical) {
        int x = (thumb.left + thumb.right) / 2;
        groove = {x - 2, channel.top, x + 2, channel.bottom};
    } else {
        int y = (thumb.top + thumb.bottom) / 2;
        groove = {channel.left, y - 2, channel.right, y + 2};
    }
    fillRect(hdc, groove, enabled ? look.panel : look.faceDisabled);
    frameRect(hdc, groove, enabled ? look.line : look.lineDisabled);
    drawTicks(hdc, hWnd, client, channel, thumb, vertical);

    bool focused = ::GetFocus() == hWnd;
    COLORREF face = !enabled ? look.faceDisabled : focused ? look.hotFace : look.field;
    COLORREF outline = !enabled ? look.lineDisabled : focused ? look.accent : look.slate;
    roundRect(hdc, thumb, face, outline);
    buffer.copy();
}

} // namespace

TesselSliderCtrl::TesselSliderCtrl() = default;
TesselSliderCtrl::~TesselSliderCtrl() = default;

LRESULT TesselSliderCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = m_hWnd;
    LRESULT answered = 0;
    auto paint = [hWnd](HDC hdc) { paintSlider(hWnd, hdc); };
    if (answerPaintMessages(hWnd, message, wParam, PaintDc::WParamFirst, paint, &answered))
        return answered;
    LRESULT result = CSliderCtrl::WindowProc(message, wParam, lParam);
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        if (::IsWindow(hWnd))
            ::InvalidateRect(hWnd, nullptr, FALSE);
        break;
    default:
        break;
    }
    return result;
}
