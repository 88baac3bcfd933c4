#include "FramePreview.h"

#include "KivoLib.h"

namespace {

const COLORREF kNoPicture = RGB(160, 168, 176);

// A bitmap selected into a memory device context for the guard's life.
class SelectedBitmap {
public:
    SelectedBitmap(HDC dc, HBITMAP bitmap) : m_dc(dc), m_old(SelectObject(dc, bitmap)) {}
    ~SelectedBitmap()
    {
        if (m_old)
            SelectObject(m_dc, m_old);
    }
    SelectedBitmap(const SelectedBitmap&) = delete;
    SelectedBitmap& operator=(const SelectedBitmap&) = delete;
    bool ok() const { return m_old != nullptr; }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

void drawPicture(HDC target, HDC source, HBITMAP picture, int width, int height)
{
    BITMAP bm = {};
    SelectedBitmap selected(source, picture);
    if (!picture || !GetObjectW(picture, sizeof(bm), &bm) || !selected.ok()) {
        HBRUSH grey = CreateSolidBrush(kNoPicture);
        RECT all = {0, 0, width, height};
        FillRect(target, &all, grey);
        DeleteObject(grey);
        return;
    }
    SetStretchBltMode(target, HALFTONE);
    SetBrushOrgEx(target, 0, 0, nullptr);
    StretchBlt(target, 0, 0, width, height, source, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
}

} // namespace

HBITMAP composeFramePreview(HBITMAP frame, HBITMAP picture, int width, int height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP result = screen ? CreateCompatibleBitmap(screen, width, height) : nullptr;
    HDC target = screen ? CreateCompatibleDC(screen) : nullptr;
    HDC source = screen ? CreateCompatibleDC(screen) : nullptr;
    if (result && target && source) {
        SelectedBitmap into(target, result);
        drawPicture(target, source, picture, width, height);
        SelectedBitmap from(source, frame);
        if (frame && from.ok())
            GdiTransparentBlt(target, 0, 0, width, height, source, 0, 0, width, height, KIVO_FRAME_COLOR_KEY);
    } else if (result) {
        DeleteObject(result);
        result = nullptr;
    }
    if (source)
        DeleteDC(source);
    if (target)
        DeleteDC(target);
    if (screen)
        ReleaseDC(nullptr, screen);
    return result;
}
