#include "BitmapPixels.h"

namespace kivotest {

BITMAPINFO topDownInfo(LONG width, LONG height)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return info;
}

std::vector<DWORD> bitmapPixels(HBITMAP bitmap, LONG& width, LONG& height)
{
    BITMAP bm = {};
    if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return {};
    BITMAPINFO info = topDownInfo(bm.bmWidth, bm.bmHeight);
    std::vector<DWORD> pixels(size_t(bm.bmWidth) * bm.bmHeight);
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, bitmap, 0, bm.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != bm.bmHeight)
        return {};
    width = bm.bmWidth;
    height = bm.bmHeight;
    return pixels;
}

} // namespace kivotest
