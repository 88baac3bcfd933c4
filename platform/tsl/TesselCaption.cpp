#include "TesselCaption.h"
#include "TslLook.h"

#include <vector>

using namespace tsl;

namespace {

// Sent by the themed default procedure of some systems to draw the caption or frame directly.
const UINT WM_NCUAHDRAWCAPTION = 0x00AE;
const UINT WM_NCUAHDRAWFRAME = 0x00AF;

struct CaptionButton {
    int hit;      // HTCLOSE, HTMAXBUTTON, HTMINBUTTON, HTHELP
    RECT rect;    // window coordinates
};

bool isCaptionButton(int hit)
{
    return hit == HTCLOSE || hit == HTMAXBUTTON || hit == HTMINBUTTON || hit == HTHELP;
}

POINT toWindow(HWND hWnd, POINT screen)
{
    RECT wr;
    ::GetWindowRect(hWnd, &wr);
    return {screen.x - wr.left, screen.y - wr.top};
}

bool commandDisabled(HWND hWnd, UINT command)
{
    HMENU menu = ::GetSystemMenu(hWnd, FALSE);
    if (!menu)
        return false;
    UINT state = ::GetMenuState(menu, command, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED));
}

} // namespace

struct TesselCaption::Layout {
    RECT window = {};     // 0, 0, width, height
    RECT client = {};     // in window coordinates
    RECT caption = {};    // empty without WS_CAPTION
    RECT icon = {};
    RECT text = {};
    RECT menuBar = {};    // empty without a menu
    std::vector<CaptionButton> buttons;
};

TesselCaption::Layout TesselCaption::layout(HWND hWnd) const
{
    Layout l;
    RECT wr;
    ::GetWindowRect(hWnd, &wr);
    l.window = {0, 0, wr.right - wr.left, wr.bottom - wr.top};
    RECT cr;
    ::GetClientRect(hWnd, &cr);
    ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT*>(&cr), 2);
    ::OffsetRect(&cr, -wr.left, -wr.top);
    l.client = cr;

    LONG style = ::GetWindowLongW(hWnd, GWL_STYLE);
    LONG exStyle = ::GetWindowLongW(hWnd, GWL_EXSTYLE);
    int border = cr.left;
    int barBottom = cr.top;
    if (::GetMenu(hWnd) && !(style & WS_CHILD)) {
        int menuHeight = ::GetSystemMetrics(SM_CYMENU);
        l.menuBar = {border, barBottom - menuHeight, l.window.right - border, barBottom};
        barBottom -= menuHeight;
    }
    if ((style & WS_CAPTION) != WS_CAPTION || barBottom - border < 8)
        return l;
    l.caption = {border, border, l.window.right - border, barBottom};

    int height = l.caption.bottom - l.caption.top;
    int buttonHeight = height - 4;
    int buttonWidth = buttonHeight + 4;
    int right = l.caption.right - 2;
    auto addButton = [&](int hit) {
        l.buttons.push_back({hit, {right - buttonWidth, l.caption.top + 2, right, l.caption.top + 2 + buttonHeight}});
        right -= buttonWidth + 2;
    };
    if (style & WS_SYSMENU) {
        addButton(HTCLOSE);
        if (style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) {
            addButton(HTMAXBUTTON);
            addButton(HTMINBUTTON);
        } else if (exStyle & WS_EX_CONTEXTHELP) {
            addButton(HTHELP);
        }
    }
    int left = l.caption.left + 4;
    if (style & WS_SYSMENU) {
        int size = ::GetSystemMetrics(SM_CXSMICON);
        int top = l.caption.top + (height - size) / 2;
        l.icon = {left, top, left + size, top + size};
        left += size + 4;
    }
    l.text = {left, l.caption.top, right, l.caption.bottom};
    return l;
}

int TesselCaption::buttonAt(HWND hWnd, POINT screen) const
{
    POINT pt = toWindow(hWnd, screen);
    for (const CaptionButton& button : layout(hWnd).buttons)
        if (::PtInRect(&button.rect, pt))
            return button.hit;
    return HTNOWHERE;
}

void TesselCaption::paint(HWND hWnd, AbstractDialogPainter& painter)
{
    Layout l = layout(hWnd);
    HDC windowDC = ::GetWindowDC(hWnd);
    if (!windowDC)
        return;
    {
        BackBuffer buffer(windowDC, l.window.right, l.window.bottom);
        HDC hdc = buffer.dc();
        BorrowedDC dc(hdc);
        painter.DrawNonClient(dc, l.window, m_active);
        if (!::IsRectEmpty(&l.caption)) {
            painter.DrawTitleBar(dc, l.caption, m_active);
            HICON icon = reinterpret_cast<HICON>(::SendMessageW(hWnd, WM_GETICON, ICON_SMALL2, 0));
            if (icon && !::IsRectEmpty(&l.icon))
                ::DrawIconEx(hdc, l.icon.left, l.icon.top, icon, l.icon.right - l.icon.left,
                             l.icon.bottom - l.icon.top, 0, nullptr, DI_NORMAL);
            else
                l.text.left = l.caption.left + 6;
            NONCLIENTMETRICSW metrics = {};
            metrics.cbSize = sizeof metrics;
            HFONT font = nullptr;
            if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
                font = ::CreateFontIndirectW(&metrics.lfCaptionFont);
            HGDIOBJ oldFont = font ? ::SelectObject(hdc, font) : nullptr;
            painter.DrawTitleText(dc, l.text, windowText(hWnd), m_active);
            for (const CaptionButton& b : l.buttons) {
                bool pressed = m_pressed == b.hit && m_pressedOver;
                bool hot = !pressed && m_pressed == HTNOWHERE && m_hot == b.hit;
                bool disabled = b.hit == HTCLOSE && commandDisabled(hWnd, SC_CLOSE);
                switch (b.hit) {
                case HTCLOSE: painter.DrawCloseButton(dc, b.rect, hot, pressed, disabled); break;
                case HTHELP: painter.DrawHelpButton(dc, b.rect, hot, pressed, disabled); break;
                case HTMINBUTTON: painter.DrawMinButton(dc, b.rect, hot, pressed, disabled); break;
                case HTMAXBUTTON:
                    if (::IsZoomed(hWnd))
                        painter.DrawRestoreButton(dc, b.rect, hot, pressed, disabled);
                    else
                        painter.DrawMaxButton(dc, b.rect, hot, pressed, disabled);
                    break;
                }
            }
            if (oldFont)
                ::SelectObject(hdc, oldFont);
            if (font)
                ::DeleteObject(font);
        }
        if (!::IsRectEmpty(&l.menuBar)) {
            painter.DrawTopMenuBarBkgnd(dc, l.menuBar, m_active);
            HMENU menu = ::GetMenu(hWnd);
            RECT wr;
            ::GetWindowRect(hWnd, &wr);
            for (int i = 0, n = ::GetMenuItemCount(menu); i < n; ++i) {
                RECT item;
                if (!::GetMenuItemRect(hWnd, menu, i, &item))
                    continue;
                ::OffsetRect(&item, -wr.left, -wr.top);
                wchar_t text[128] = {};
                ::GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
                UINT state = ::GetMenuState(menu, i, MF_BYPOSITION);
                painter.DrawTopMenuBarText(dc, item, text, (state & (MF_GRAYED | MF_DISABLED)) != 0);
            }
        }
        ::ExcludeClipRect(windowDC, l.client.left, l.client.top, l.client.right, l.client.bottom);
        buffer.copy();
    }
    ::ReleaseDC(hWnd, windowDC);
}

void TesselCaption::pressButton(HWND hWnd, int hit)
{
    m_pressed = hit;
    m_pressedOver = true;
    m_hot = HTNOWHERE;
    ::SetCapture(hWnd);
}

void TesselCaption::releaseButton(HWND hWnd, AbstractDialogPainter& painter, POINT screen)
{
    int pressed = m_pressed;
    bool over = buttonAt(hWnd, screen) == pressed;
    m_pressed = HTNOWHERE;
    m_pressedOver = false;
    ::ReleaseCapture();
    paint(hWnd, painter);
    if (!over)
        return;
    WPARAM command = 0;
    switch (pressed) {
    case HTCLOSE: command = SC_CLOSE; break;
    case HTHELP: command = SC_CONTEXTHELP; break;
    case HTMINBUTTON: command = SC_MINIMIZE; break;
    case HTMAXBUTTON: command = ::IsZoomed(hWnd) ? SC_RESTORE : SC_MAXIMIZE; break;
    default: return;
    }
    // Posted, as the command may end the window whose message is being handled.
    ::PostMessageW(hWnd, WM_SYSCOMMAND, command, MAKELPARAM(screen.x, screen.y));
}

bool TesselCaption::handleBefore(HWND hWnd, AbstractDialogPainter& painter, UINT message,
                                 WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    POINT screen = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
    case WM_NCPAINT:
        paint(hWnd, painter);
        *result = 0;
        return true;
    case WM_NCACTIVATE:
        // lParam -1: the default procedure records the state without drawing the caption.
        *result = ::DefWindowProcW(hWnd, message, wParam, -1);
        m_active = wParam != FALSE;
        paint(hWnd, painter);
        return true;
    case WM_NCUAHDRAWCAPTION:
    case WM_NCUAHDRAWFRAME:
        paint(hWnd, painter);
        *result = 0;
        return true;
    case WM_NCHITTEST: {
        LRESULT hit = ::DefWindowProcW(hWnd, message, wParam, lParam);
        int button = buttonAt(hWnd, screen);
        if (button != HTNOWHERE)
            hit = button;
        else if (isCaptionButton(static_cast<int>(hit)) || hit == HTSYSMENU)
            hit = HTCAPTION;
        *result = hit;
        return true;
    }
    case WM_NCMOUSEMOVE: {
        int hot = isCaptionButton(static_cast<int>(wParam)) ? static_cast<int>(wParam) : HTNOWHERE;
        if (hot != m_hot) {
            m_hot = hot;
            if (hot != HTNOWHERE) {
                TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE | TME_NONCLIENT, hWnd, 0};
                ::TrackMouseEvent(&track);
            }
            paint(hWnd, painter);
        }
        return false;
    }
    case WM_NCMOUSELEAVE:
        if (m_hot != HTNOWHERE) {
            m_hot = HTNOWHERE;
            paint(hWnd, painter);
        }
        return false;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (!isCaptionButton(static_cast<int>(wParam)))
            return false;
        pressButton(hWnd, static_cast<int>(wParam));
        paint(hWnd, painter);
        *result = 0;
        return true;
    case WM_MOUSEMOVE:
        if (m_pressed == HTNOWHERE)
            return false;
        {
            POINT pt = screen;
            ::ClientToScreen(hWnd, &pt);
            bool over = buttonAt(hWnd, pt) == m_pressed;
            if (over != m_pressedOver) {
                m_pressedOver = over;
                paint(hWnd, painter);
            }
        }
        *result = 0;
        return true;
    case WM_LBUTTONUP:
        if (m_pressed == HTNOWHERE)
            return false;
        ::ClientToScreen(hWnd, &screen);
        releaseButton(hWnd, painter, screen);
        *result = 0;
        return true;
    case WM_CAPTURECHANGED:
        if (m_pressed != HTNOWHERE && reinterpret_cast<HWND>(lParam) != hWnd) {
            m_pressed = HTNOWHERE;
            m_pressedOver = false;
            paint(hWnd, painter);
        }
        return false;
    default:
        return false;
    }
}

void TesselCaption::handleAfter(HWND hWnd, AbstractDialogPainter& painter, UINT message, WPARAM wParam)
{
    if (announcesNewColors(message, wParam)) {
        redrawForNewColors(hWnd);
        return;
    }
    switch (message) {
    case WM_SETTEXT:
    case WM_SETICON:
    case WM_SYSCOMMAND:
    case WM_STYLECHANGED:
    case WM_INITMENUPOPUP:
    case WM_SETTINGCHANGE:
        if (::IsWindow(hWnd) && ::IsWindowVisible(hWnd))
            paint(hWnd, painter);
        break;
    default:
        break;
    }
}
