#include "SceneRenderer.h"

#include <algorithm>
#include <cstring>

namespace vcam {

namespace {

// A GDI object that is deleted with its owner.
class GdiObject {
public:
    explicit GdiObject(HGDIOBJ h) : m_h(h) {}
    ~GdiObject() { if (m_h) DeleteObject(m_h); }
    HGDIOBJ get() const { return m_h; }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
private:
    HGDIOBJ m_h;
};

// Selects an object into a DC for one scope.
class Selection {
public:
    Selection(HDC hdc, HGDIOBJ h) : m_hdc(hdc), m_old(SelectObject(hdc, h)) {}
    ~Selection() { SelectObject(m_hdc, m_old); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
private:
    HDC m_hdc;
    HGDIOBJ m_old;
};

void fillRect(HDC hdc, int l, int t, int r, int b, COLORREF color)
{
    GdiObject brush(CreateSolidBrush(color));
    RECT rc = {l, t, r, b};
    FillRect(hdc, &rc, static_cast<HBRUSH>(brush.get()));
}

void ellipse(HDC hdc, int l, int t, int r, int b, COLORREF color)
{
    GdiObject brush(CreateSolidBrush(color));
    Selection pen(hdc, GetStockObject(NULL_PEN));
    Selection fill(hdc, brush.get());
    Ellipse(hdc, l, t, r, b);
}

void verticalGradient(HDC hdc, int w, int top, int bottom, COLORREF from, COLORREF to)
{
    int span = std::max(1, bottom - top);
    for (int y = top; y < bottom; ++y) {
        int t = (y - top) * 256 / span;
        auto mix = [t](int a, int b) { return (a * (256 - t) + b * t) >> 8; };
        fillRect(hdc, 0, y, w, y + 1, RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
                                          mix(GetBValue(from), GetBValue(to))));
    }
}

void drawFace(HDC hdc, int w, int h)
{
    verticalGradient(hdc, w, 0, h, RGB(40, 90, 160), RGB(20, 40, 80));
    int cx = w / 2, cy = h * 9 / 20, r = std::min(w, h) * 3 / 10;
    ellipse(hdc, cx - r * 13 / 10, cy + r * 8 / 10, cx + r * 13 / 10, cy + r * 3, RGB(200, 60, 50));   // shoulders
    ellipse(hdc, cx - r, cy - r, cx + r, cy + r, RGB(236, 188, 150));                                     // face
    ellipse(hdc, cx - r, cy - r * 11 / 10, cx + r, cy - r / 3, RGB(90, 55, 30));                          // hair
    int er = std::max(2, r / 8);
    ellipse(hdc, cx - r / 2 - er, cy - er, cx - r / 2 + er, cy + er, RGB(30, 30, 40));                    // eyes
    ellipse(hdc, cx + r / 2 - er, cy - er, cx + r / 2 + er, cy + er, RGB(30, 30, 40));
    ellipse(hdc, cx - r / 3, cy + r / 3, cx + r / 3, cy + r / 2, RGB(170, 60, 70));                       // mouth
}

void drawLandscape(HDC hdc, int w, int h)
{
    verticalGradient(hdc, w, 0, h * 6 / 10, RGB(120, 180, 240), RGB(220, 235, 250));
    verticalGradient(hdc, w, h * 6 / 10, h, RGB(70, 150, 60), RGB(30, 90, 30));
    int r = std::min(w, h) / 8;
    ellipse(hdc, w * 3 / 4 - r, h / 5 - r, w * 3 / 4 + r, h / 5 + r, RGB(255, 220, 60));                  // sun
    POINT hill[] = {{0, h * 6 / 10}, {w / 4, h * 35 / 100}, {w / 2, h * 6 / 10}};
    GdiObject brush(CreateSolidBrush(RGB(110, 110, 130)));
    Selection pen(hdc, GetStockObject(NULL_PEN));
    Selection fill(hdc, brush.get());
    Polygon(hdc, hill, 3);
}

// Eight colour bars along the bottom, so that hue and saturation changes show plainly.
void drawColourBars(HDC hdc, int w, int h)
{
    static const COLORREF kBars[] = {RGB(255, 255, 255), RGB(255, 255, 0), RGB(0, 255, 255), RGB(0, 255, 0),
                                     RGB(255, 0, 255), RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 0, 0)};
    int top = h - h / 8;
    for (int i = 0; i < 8; ++i)
        fillRect(hdc, w * i / 8, top, w * (i + 1) / 8, h, kBars[i]);
}

void drawLabel(HDC hdc, int w, int h, const wchar_t* text)
{
    GdiObject font(CreateFontW(-std::max(10, h / 12), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH,
                               L"Tahoma"));
    Selection selected(hdc, font.get());
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(255, 255, 255));
    RECT rc = {w / 30, h / 30, w, h / 4};
    DrawTextW(hdc, text, -1, &rc, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

} // namespace

const std::vector<DWORD>& SceneRenderer::scene(LONG width, LONG height, LONG direction, bool mirrored)
{
    if (width != m_width || height != m_height || direction != m_direction || m_pixels.empty()) {
        m_mirrored = false;
        if (!draw(width, height, direction)) {
            m_pixels.clear();
            m_width = m_height = 0;
            return m_pixels;
        }
        m_width = width;
        m_height = height;
        m_direction = direction;
    }
    if (mirrored != m_mirrored) {
        mirror(width, height);
        m_mirrored = mirrored;
    }
    return m_pixels;
}

bool SceneRenderer::draw(LONG width, LONG height, LONG direction)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC hdc = CreateCompatibleDC(nullptr);
    if (!hdc)
        return false;
    bool ok = false;
    {
        GdiObject dib(CreateDIBSection(hdc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (dib.get() && bits) {
            Selection selected(hdc, dib.get());
            if (direction == 1)
                drawLandscape(hdc, width, height);
            else
                drawFace(hdc, width, height);
            drawColourBars(hdc, width, height);
            drawLabel(hdc, width, height, direction == 1 ? L"REAR" : L"FRONT");
            GdiFlush();
            m_pixels.resize(size_t(width) * size_t(height));
            memcpy(m_pixels.data(), bits, m_pixels.size() * sizeof(DWORD));
            for (DWORD& p : m_pixels)
                p &= 0x00FFFFFF;
            ok = true;
        }
    }
    DeleteDC(hdc);
    return ok;
}

void SceneRenderer::mirror(LONG width, LONG height)
{
    for (LONG y = 0; y < height; ++y) {
        DWORD* row = m_pixels.data() + size_t(y) * size_t(width);
        std::reverse(row, row + width);
    }
}

} // namespace vcam
