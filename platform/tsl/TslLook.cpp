#include "TslLook.h"
#include "TslMessageBox.h"

#include <dwmapi.h>
#include <uxtheme.h>

namespace tsl {

BackBuffer::BackBuffer(HDC target, int width, int height)
    : m_target(target), m_width(width), m_height(height)
{
    if (width <= 0 || height <= 0)
        return;
    m_memory = ::CreateCompatibleDC(target);
    if (m_memory)
        m_bitmap = ::CreateCompatibleBitmap(target, width, height);
    if (!m_bitmap) {
        if (m_memory)
            ::DeleteDC(m_memory);
        m_memory = nullptr;
        return;
    }
    m_oldBitmap = ::SelectObject(m_memory, m_bitmap);
    // The copy starts with the target's font, so that text drawn into it looks the same.
    ::SelectObject(m_memory, ::GetCurrentObject(target, OBJ_FONT));
}

BackBuffer::~BackBuffer()
{
    if (!m_memory)
        return;
    ::SelectObject(m_memory, ::GetStockObject(SYSTEM_FONT));
    ::SelectObject(m_memory, m_oldBitmap);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_memory);
}

void BackBuffer::copy()
{
    if (m_memory)
        ::BitBlt(m_target, 0, 0, m_width, m_height, m_memory, 0, 0, SRCCOPY);
}

void fillRect(HDC hdc, const RECT& r, COLORREF color)
{
    COLORREF old = ::SetBkColor(hdc, color);
    ::ExtTextOutW(hdc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(hdc, old);
}

void frameRect(HDC hdc, const RECT& r, COLORREF color)
{
    if (r.right - r.left < 1 || r.bottom - r.top < 1)
        return;
    fillRect(hdc, {r.left, r.top, r.right, r.top + 1}, color);
    fillRect(hdc, {r.left, r.bottom - 1, r.right, r.bottom}, color);
    fillRect(hdc, {r.left, r.top, r.left + 1, r.bottom}, color);
    fillRect(hdc, {r.right - 1, r.top, r.right, r.bottom}, color);
}

void line(HDC hdc, int x0, int y0, int x1, int y1, COLORREF color, int width)
{
    HPEN pen = ::CreatePen(PS_SOLID, width, color);
    if (!pen)
        return;
    HGDIOBJ old = ::SelectObject(hdc, pen);
    POINT previous;
    ::MoveToEx(hdc, x0, y0, &previous);
    ::LineTo(hdc, x1, y1);
    ::MoveToEx(hdc, previous.x, previous.y, nullptr);
    ::SelectObject(hdc, old);
    ::DeleteObject(pen);
}

void drawText(HDC hdc, RECT rect, const CString& text, COLORREF color, UINT format)
{
    DcStateGuard state(hdc);
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, color);
    ::DrawTextW(hdc, text, text.GetLength(), &rect, format);
}

CString windowText(HWND hWnd)
{
    int length = ::GetWindowTextLengthW(hWnd);
    CString text;
    if (length > 0) {
        LPWSTR buffer = text.GetBuffer(length + 1);
        int copied = ::GetWindowTextW(hWnd, buffer, length + 1);
        text.ReleaseBuffer(copied);
    }
    return text;
}

bool showsFocusCues(HWND hWnd)
{
    return !(::SendMessageW(hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

HBRUSH parentControlBrush(HWND hWnd, HDC hdc, UINT message)
{
    HWND parent = ::GetParent(hWnd);
    HBRUSH brush = nullptr;
    if (parent)
        brush = reinterpret_cast<HBRUSH>(
            ::SendMessageW(parent, message, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hWnd)));
    if (brush)
        return brush;
    const Palette look = palette();
    ::SetTextColor(hdc, look.text);
    ::SetBkColor(hdc, look.body);
    ::SetDCBrushColor(hdc, look.body);
    return static_cast<HBRUSH>(::GetStockObject(DC_BRUSH));
}

HBRUSH controlColors(HDC hdc, UINT nCtlColor, CBrush& body, CBrush& field)
{
    const Palette look = palette();
    switch (nCtlColor) {
    case CTLCOLOR_EDIT:
    case CTLCOLOR_LISTBOX:
        ::SetTextColor(hdc, look.fieldText);
        ::SetBkColor(hdc, look.field);
        return solidBrush(field, look.field);
    case CTLCOLOR_MSGBOX:
    case CTLCOLOR_DLG:
    case CTLCOLOR_BTN:
    case CTLCOLOR_STATIC:
    default:
        ::SetTextColor(hdc, look.text);
        ::SetBkColor(hdc, look.body);
        return solidBrush(body, look.body);
    }
}

void takeOverFrame(HWND hWnd)
{
    DWORD policy = DWMNCRP_DISABLED;
    // Fails where there is no composition; the frame is then the window's own anyway.
    ::DwmSetWindowAttribute(hWnd, DWMWA_NCRENDERING_POLICY, &policy, sizeof policy);
}

void applyVisualStyleSwitch(HWND hWnd)
{
    if (!TesselAPI::IsLunaEnabled())
        ::SetWindowTheme(hWnd, L"", L"");
}

} // namespace tsl
