// The skin's drawing routines, checked pixel by pixel.
#include "DibCanvas.h"
#include "SkinDrawing.h"

#include <gtest/gtest.h>

namespace {

const COLORREF kBackground = RGB(0x11, 0x22, 0x33);

TEST(SkinDrawingTest, NineSliceCornersKeepTheirSizeAndEdgesStretchAlongTheirBand)
{
    // Nine pieces of distinct colours; corners 5x5, the rest deliberately of other sizes.
    const COLORREF colour[9] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0), RGB(0, 200, 200),
                                RGB(200, 0, 200), RGB(90, 40, 10), RGB(10, 90, 40), RGB(40, 10, 90)};
    const SIZE size[9] = {{5, 5}, {3, 5}, {5, 5}, {5, 2}, {2, 2}, {5, 2}, {5, 5}, {3, 5}, {5, 5}};
    std::unique_ptr<CBitmap> piece[9];
    for (int i = 0; i < 9; ++i)
        piece[i] = solidBitmap(size[i].cx, size[i].cy, colour[i]);
    NineSliceBitmaps pieces = {piece[0].get(), piece[1].get(), piece[2].get(), piece[3].get(), piece[4].get(),
                               piece[5].get(), piece[6].get(), piece[7].get(), piece[8].get()};

    DibCanvas canvas(120, 40);
    EXPECT_TRUE(drawNineSlice(&canvas.dc(), {10, 5, 110, 35}, pieces));   // a 100x30 button

    const int bands[4] = {5, 10, 30, 35};       // top band rows 0-5, middle 5-25, bottom 25-30
    const int columns[4] = {10, 15, 105, 110};  // left columns 0-5, middle 5-95, right 95-100
    for (int band = 0; band < 3; ++band)
        for (int column = 0; column < 3; ++column) {
            RECT cell = {columns[column], bands[band], columns[column + 1], bands[band + 1]};
            EXPECT_TRUE(canvas.allOf(cell, colour[band * 3 + column])) << "band " << band << " column " << column;
        }
    // Nothing outside the button.
    EXPECT_EQ(120 * 40 - 100 * 30, canvas.countOf(kBackground));
}

TEST(SkinDrawingTest, CenteredBitmapKeepsItsSizeWhereTheRectangleIsLargerAndIsSqueezedWhereNot)
{
    auto glyph = solidBitmap(16, 14, RGB(250, 10, 10));
    DibCanvas wide(140, 40);
    EXPECT_TRUE(drawCentered(&wide.dc(), {100, 5, 126, 25}, glyph.get()));
    RECT drawn = wide.boundsOf(RGB(250, 10, 10));
    EXPECT_EQ(105, drawn.left);
    EXPECT_EQ(8, drawn.top);
    EXPECT_EQ(121, drawn.right);
    EXPECT_EQ(22, drawn.bottom);
    EXPECT_EQ(16 * 14, wide.countOf(RGB(250, 10, 10)));

    DibCanvas narrow(140, 40);
    EXPECT_TRUE(drawCentered(&narrow.dc(), {100, 5, 112, 25}, glyph.get()));
    drawn = narrow.boundsOf(RGB(250, 10, 10));
    EXPECT_EQ(100, drawn.left);
    EXPECT_EQ(112, drawn.right);
    EXPECT_EQ(8, drawn.top);
    EXPECT_EQ(22, drawn.bottom);
}

TEST(SkinDrawingTest, StretchedBitmapFillsTheRectangleAndLeavesTheDcAsItWas)
{
    auto bitmap = solidBitmap(3, 2, RGB(1, 150, 2));
    DibCanvas canvas(50, 20);
    HDC hdc = canvas.hdc();
    ::SetStretchBltMode(hdc, HALFTONE);
    HGDIOBJ brush = ::GetCurrentObject(hdc, OBJ_BRUSH);
    EXPECT_TRUE(drawStretched(&canvas.dc(), {4, 3, 44, 17}, bitmap.get()));
    EXPECT_TRUE(canvas.allOf({4, 3, 44, 17}, RGB(1, 150, 2)));
    EXPECT_EQ(50 * 20 - 40 * 14, canvas.countOf(kBackground));
    EXPECT_EQ(HALFTONE, ::GetStretchBltMode(hdc));
    EXPECT_EQ(brush, ::GetCurrentObject(hdc, OBJ_BRUSH));
}

TEST(SkinDrawingTest, MissingBitmapsFailWithoutDrawingThemButTheRestIsDrawn)
{
    CBitmap empty;   // an object without a GDI bitmap, as the cache keeps for a missing id
    auto piece = solidBitmap(5, 5, RGB(9, 99, 199));
    DibCanvas canvas(100, 30);
    EXPECT_FALSE(drawStretched(&canvas.dc(), {0, 0, 10, 10}, nullptr));
    EXPECT_FALSE(drawCentered(&canvas.dc(), {0, 0, 10, 10}, &empty));
    EXPECT_EQ(100 * 30, canvas.countOf(kBackground));

    // Every band is still drawn; only the missing centre is left out.
    CBitmap* p = piece.get();
    EXPECT_FALSE(drawNineSlice(&canvas.dc(), {0, 0, 100, 30}, p, p, p, p, &empty, p, p, p, p));
    EXPECT_TRUE(canvas.allOf({5, 5, 95, 25}, kBackground));
    EXPECT_TRUE(canvas.allOf({0, 0, 100, 5}, RGB(9, 99, 199)));
    EXPECT_TRUE(canvas.allOf({0, 25, 100, 30}, RGB(9, 99, 199)));
}

} // namespace
