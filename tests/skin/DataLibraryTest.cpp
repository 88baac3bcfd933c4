// KivoData.dll: every bitmap the skin and the frame chooser load is there, with sizes that fit the
// way they are drawn.
#include "LoadedLibrary.h"
#include "TestPaths.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {

class DataLibraryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(nullptr, m_hData) << "error " << m_data.loadError(); }

    // Width and height of a bitmap resource; 0, 0 when it is missing.
    SIZE bitmapSize(LPCWSTR name)
    {
        SIZE size = {0, 0};
        HBITMAP hbm = static_cast<HBITMAP>(LoadImageW(m_hData, name, IMAGE_BITMAP, 0, 0, 0));
        BITMAP bm = {};
        if (hbm && GetObjectW(hbm, sizeof bm, &bm))
            size = {bm.bmWidth, bm.bmHeight};
        if (hbm)
            DeleteObject(hbm);
        return size;
    }
    SIZE bitmapSize(UINT id) { return bitmapSize(MAKEINTRESOURCEW(id)); }

    COLORREF pixel(UINT id, int x, int y)
    {
        HBITMAP hbm = LoadBitmapW(m_hData, MAKEINTRESOURCEW(id));
        HDC hdc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(hdc, hbm);
        COLORREF c = GetPixel(hdc, x, y);
        SelectObject(hdc, old);
        DeleteDC(hdc);
        DeleteObject(hbm);
        return c;
    }

    kivotest::LoadedLibrary m_data{kivotest::stageFile(L"KivoData.dll")};
    HMODULE m_hData = m_data.get();
};

// Ids in the order top-left, top, top-right, left, centre, right, bottom-left, bottom, bottom-right.
struct StateIds {
    const char* name;
    UINT ids[9];
};
const StateIds kStates[] = {
    {"normal", {158, 157, 159, 155, 154, 156, 152, 151, 153}},
    {"pressed", {167, 166, 168, 164, 163, 165, 161, 160, 162}},
    {"hot", {176, 175, 177, 173, 172, 174, 170, 169, 171}},
    {"disabled", {186, 184, 188, 182, 181, 183, 179, 178, 180}},
};

TEST_F(DataLibraryTest, EachStatesNinePiecesLineUpInBandsAndColumns)
{
    for (const StateIds& state : kStates) {
        SCOPED_TRACE(state.name);
        SIZE s[9];
        for (int i = 0; i < 9; ++i) {
            s[i] = bitmapSize(state.ids[i]);
            ASSERT_GT(s[i].cx, 0) << "bitmap " << state.ids[i];
        }
        for (int band = 0; band < 3; ++band) {   // each band's pieces are equally high
            EXPECT_EQ(s[band * 3].cy, s[band * 3 + 1].cy);
            EXPECT_EQ(s[band * 3].cy, s[band * 3 + 2].cy);
        }
        for (int column = 0; column < 3; ++column) {   // each column's pieces are equally wide
            EXPECT_EQ(s[column].cx, s[3 + column].cx);
            EXPECT_EQ(s[column].cx, s[6 + column].cx);
        }
    }
    // The disabled state's unused neighbours carry its corners too.
    EXPECT_EQ(bitmapSize(186).cx, bitmapSize(185).cx);
    EXPECT_EQ(bitmapSize(188).cy, bitmapSize(187).cy);
}

TEST_F(DataLibraryTest, HelpGlyphsAreSmallEnoughForTheCaptionAndSitOnTheirFillColour)
{
    const struct { UINT id; COLORREF fill; } glyphs[] = {
        {IDB_HELP_DISABLED, RGB(0, 0, 0)}, {IDB_HELP_HOT, RGB(142, 223, 255)},
        {IDB_HELP_PRESSED, RGB(60, 78, 98)}, {IDB_HELP_NORMAL, RGB(116, 122, 128)}};
    for (const auto& glyph : glyphs) {
        SCOPED_TRACE(glyph.id);
        SIZE s = bitmapSize(glyph.id);
        EXPECT_EQ(16, s.cx);
        EXPECT_EQ(14, s.cy);
        // Drawn centred on a rectangle filled with that colour: its edges must not show.
        EXPECT_EQ(glyph.fill, pixel(glyph.id, 0, 0));
        EXPECT_EQ(glyph.fill, pixel(glyph.id, 15, 13));
    }
}

TEST_F(DataLibraryTest, FrameChooserArrowsAreNamedAfterTheirButtonsCaptions)
{
    for (LPCWSTR name : {L"FRAMEPREVU", L"FRAMEPREVD", L"FRAMEPREVF", L"FRAMEPREVX", L"FRAMENEXTU",
                         L"FRAMENEXTD", L"FRAMENEXTF", L"FRAMENEXTX"}) {
        SIZE s = bitmapSize(name);
        EXPECT_EQ(18, s.cx) << "bitmap " << static_cast<const void*>(name);
        EXPECT_EQ(18, s.cy);
    }
}

}  // namespace
