#include "SkinDrawing.h"

namespace {

// Width and height of a bitmap that is known to be there.
SIZE bitmapSize(CBitmap* bmp)
{
    BITMAP bm = {};
    ::GetObjectW(static_cast<HBITMAP>(bmp->GetSafeHandle()), sizeof bm, &bm);
    return {bm.bmWidth, bm.bmHeight};
}

int widthOf(CBitmap* bmp) { return hasBitmap(bmp) ? bitmapSize(bmp).cx : 0; }
int heightOf(CBitmap* bmp) { return hasBitmap(bmp) ? bitmapSize(bmp).cy : 0; }

// The whole bitmap into the destination rectangle (x, y, w, h) through a memory DC of our own.
bool blitScaled(CDC* dc, int x, int y, int w, int h, CBitmap* bmp)
{
    if (!dc || !hasBitmap(bmp))
        return false;
    SIZE size = bitmapSize(bmp);
    HDC target = dc->GetSafeHdc();
    HDC memory = ::CreateCompatibleDC(target);
    if (!memory)
        return false;
    HGDIOBJ replaced = ::SelectObject(memory, bmp->GetSafeHandle());
    BOOL ok = ::StretchBlt(target, x, y, w, h, memory, 0, 0, size.cx, size.cy, SRCCOPY);
    ::SelectObject(memory, replaced);
    ::DeleteDC(memory);
    return ok != FALSE;
}

} // namespace

bool hasBitmap(const CBitmap* bmp)
{
    return bmp && bmp->GetSafeHandle();
}

bool drawStretched(CDC* dc, const RECT& r, CBitmap* bmp)
{
    return blitScaled(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, bmp);
}

bool drawThreeSlice(CDC* dc, const RECT& r, CBitmap* left, CBitmap* middle, CBitmap* right)
{
    int wl = widthOf(left);
    int wr = widthOf(right);
    bool ok = drawStretched(dc, {r.left, r.top, r.left + wl, r.bottom}, left);
    ok = drawStretched(dc, {r.left + wl, r.top, r.right - wr, r.bottom}, middle) && ok;
    ok = drawStretched(dc, {r.right - wr, r.top, r.right, r.bottom}, right) && ok;
    return ok;
}

bool drawNineSlice(CDC* dc, const RECT& r, CBitmap* topLeft, CBitmap* top, CBitmap* topRight,
                   CBitmap* left, CBitmap* centre, CBitmap* right, CBitmap* bottomLeft,
                   CBitmap* bottom, CBitmap* bottomRight)
{
    int ht = heightOf(topLeft);
    int hb = heightOf(bottomRight);
    bool ok = drawThreeSlice(dc, {r.left, r.top, r.right, r.top + ht}, topLeft, top, topRight);
    ok = drawThreeSlice(dc, {r.left, r.top + ht, r.right, r.bottom - hb}, left, centre, right) && ok;
    ok = drawThreeSlice(dc, {r.left, r.bottom - hb, r.right, r.bottom}, bottomLeft, bottom, bottomRight) && ok;
    return ok;
}

bool drawNineSlice(CDC* dc, const RECT& r, const NineSliceBitmaps& p)
{
    return drawNineSlice(dc, r, p.topLeft, p.top, p.topRight, p.left, p.centre, p.right, p.bottomLeft,
                         p.bottom, p.bottomRight);
}

bool drawCentered(CDC* dc, const RECT& r, CBitmap* bmp)
{
    if (!hasBitmap(bmp))
        return false;
    SIZE size = bitmapSize(bmp);
    int x0 = r.left, x1 = r.right;
    if (r.right - r.left > size.cx) {
        x0 = (r.left + r.right - size.cx) / 2;
        x1 = x0 + size.cx;
    }
    int y0 = r.top, y1 = r.bottom;
    if (r.bottom - r.top > size.cy) {
        y0 = (r.top + r.bottom - size.cy) / 2;
        y1 = y0 + size.cy;
    }
    return blitScaled(dc, x0, y0, x1 - x0, y1 - y0, bmp);
}
