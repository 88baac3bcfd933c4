// A 32-bit top-down DIB section selected into a memory DC: something to paint on and read back
// pixel by pixel, and solid-colour bitmaps to paint with.
#pragma once

#include "BitmapPixels.h"

#include <afxwin.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

class DibCanvas {
public:
    DibCanvas(int width, int height, COLORREF background = RGB(0x11, 0x22, 0x33))
        : m_width(width), m_height(height)
    {
        BITMAPINFO info = kivotest::topDownInfo(width, height);
        m_hdc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateDIBSection(m_hdc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = ::SelectObject(m_hdc, m_bitmap);
        m_dc.Attach(m_hdc);
        fill(background);
    }
    ~DibCanvas()
    {
        m_dc.Detach();
        ::SelectObject(m_hdc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_hdc);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    CDC& dc() { return m_dc; }
    HDC hdc() const { return m_hdc; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    void fill(COLORREF color)
    {
        ::GdiFlush();
        for (int i = 0; i < m_width * m_height; ++i)
            m_bits[i] = toPixel(color);
    }
    COLORREF pixel(int x, int y) const
    {
        ::GdiFlush();
        uint32_t p = m_bits[y * m_width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // True when every pixel of the rectangle has the colour.
    bool allOf(const RECT& r, COLORREF color) const
    {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (pixel(x, y) != color)
                    return false;
        return true;
    }
    // The smallest rectangle holding every pixel of the colour; empty when there is none.
    RECT boundsOf(COLORREF color) const
    {
        RECT r = {m_width, m_height, 0, 0};
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                if (pixel(x, y) == color) {
                    r.left = x < r.left ? x : r.left;
                    r.top = y < r.top ? y : r.top;
                    r.right = x + 1 > r.right ? x + 1 : r.right;
                    r.bottom = y + 1 > r.bottom ? y + 1 : r.bottom;
                }
        return r;
    }
    // The smallest rectangle inside area holding every pixel whose channels differ from the colour
    // by more than distance in sum (what is drawn on a fill, without its smoothed edge); empty
    // when there is none.
    RECT boundsFarFrom(const RECT& area, COLORREF color, int distance) const
    {
        auto apart = [color](COLORREF c) {
            return abs(GetRValue(c) - GetRValue(color)) + abs(GetGValue(c) - GetGValue(color)) +
                   abs(GetBValue(c) - GetBValue(color));
        };
        RECT r = {area.right, area.bottom, area.left, area.top};
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (apart(pixel(x, y)) > distance) {
                    r.left = x < r.left ? x : r.left;
                    r.top = y < r.top ? y : r.top;
                    r.right = x + 1 > r.right ? x + 1 : r.right;
                    r.bottom = y + 1 > r.bottom ? y + 1 : r.bottom;
                }
        return r;
    }
    int countOf(COLORREF color) const
    {
        int n = 0;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                n += pixel(x, y) == color;
        return n;
    }
    bool sameAs(const DibCanvas& other) const
    {
        if (other.m_width != m_width || other.m_height != m_height)
            return false;
        ::GdiFlush();
        for (int i = 0; i < m_width * m_height; ++i)
            if ((m_bits[i] & 0xFFFFFF) != (other.m_bits[i] & 0xFFFFFF))
                return false;
        return true;
    }

private:
    static uint32_t toPixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

    int m_width;
    int m_height;
    HDC m_hdc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    uint32_t* m_bits = nullptr;
    CDC m_dc;
};

// A framework bitmap of one colour, as a skin piece.
inline std::unique_ptr<CBitmap> solidBitmap(int width, int height, COLORREF color)
{
    auto bitmap = std::make_unique<CBitmap>();
    HDC screen = ::GetDC(nullptr);
    HBITMAP hbm = ::CreateCompatibleBitmap(screen, width, height);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(memory, hbm);
    RECT r = {0, 0, width, height};
    ::SetBkColor(memory, color);
    ::ExtTextOutW(memory, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    bitmap->Attach(hbm);
    return bitmap;
}
