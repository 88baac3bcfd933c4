// The settings program's painters: the bitmap look from the data library, the fall-back to the
// skin library's look, the cache, the help button, and the device context left as it was.
#include "DibCanvas.h"
#include "LoadedLibrary.h"
#include "KivoButtonPainter.h"
#include "KivoDialogPainter.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const RECT kButton = {0, 0, 100, 30};
using ButtonSlot = void (AbstractButtonPainter::*)(CDC&, const RECT&, const CString&);
const ButtonSlot kStates[4] = {&AbstractButtonPainter::DrawNormal, &AbstractButtonPainter::DrawDown,
                               &AbstractButtonPainter::DrawHot, &AbstractButtonPainter::DrawDisable};
const char* const kStateNames[4] = {"normal", "down", "hot", "disabled"};

// Paints one state of a painter on a fresh 100x30 canvas.
void paintState(DibCanvas& canvas, AbstractButtonPainter& painter, int state, const CString& caption)
{
    canvas.fill(RGB(0x11, 0x22, 0x33));
    (painter.*kStates[state])(canvas.dc(), kButton, caption);
}

TEST(KivoButtonPainterTest, SkinnedStatesDrawTheirBitmapsAndCaptionsInTheirColours)
{
    KivoButtonPainter painter;
    painter.enableSkin();
    TesselButtonPainter library;
    const COLORREF caption[4] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(172, 177, 179)};
    for (int state = 0; state < 4; ++state) {
        SCOPED_TRACE(kStateNames[state]);
        DibCanvas bare(100, 30), withText(100, 30), libraryLook(100, 30);
        paintState(bare, painter, state, L"");
        paintState(withText, painter, state, L"Rear");
        paintState(libraryLook, library, state, L"");
        EXPECT_FALSE(bare.sameAs(libraryLook)) << "the bitmap look, not the library's";
        // The caption adds pixels of exactly its state's colour.
        EXPECT_GT(withText.countOf(caption[state]), bare.countOf(caption[state]) + 10);
    }
    // Each state's nine bitmaps were loaded once; painting again loads nothing more.
    EXPECT_EQ(36u, painter.cachedBitmapCount());
    DibCanvas again(100, 30);
    for (int state = 0; state < 4; ++state)
        paintState(again, painter, state, L"Front");
    EXPECT_EQ(36u, painter.cachedBitmapCount());
}

TEST(KivoButtonPainterTest, WithoutItsSkinOrItsBitmapsEveryStateIsTheLibrarysLook)
{
    KivoButtonPainter off;   // skin not enabled
    KivoButtonPainter noLibrary(L"NoSuchKivoData.dll");
    noLibrary.enableSkin();
    KivoButtonPainter noBitmaps(L"KivoLocale.dll");   // a library without the skin's bitmaps
    noBitmaps.enableSkin();
    TesselButtonPainter library;
    for (int state = 0; state < 4; ++state) {
        SCOPED_TRACE(kStateNames[state]);
        DibCanvas expected(100, 30), actual(100, 30);
        paintState(expected, library, state, L"Front");
        for (KivoButtonPainter* painter : {&off, &noLibrary, &noBitmaps}) {
            paintState(actual, *painter, state, L"Front");
            EXPECT_TRUE(actual.sameAs(expected));
        }
    }
    EXPECT_EQ(0u, off.cachedBitmapCount());
    EXPECT_EQ(0u, noLibrary.cachedBitmapCount());   // nothing kept: the next paint tries again
    EXPECT_EQ(36u, noBitmaps.cachedBitmapCount());   // kept without GDI bitmaps, loaded once
}

// The caption's help button as the panel's caption places it at 96 DPI (19 x 15) and at 144 DPI
// (28 x 24), where the close button beside it has grown as much.
const RECT kHelpAt96 = {100, 5, 119, 20};
const RECT kHelpAt144 = {100, 5, 128, 29};

TEST(KivoDialogPainterTest, HelpButtonFillAndGlyphFollowTheFirstFlagThatIsSetAndGrowWithTheButton)
{
    KivoDialogPainter painter;
    kivotest::LoadedLibrary data(L"KivoData.dll");
    ASSERT_NE(nullptr, data.get());
    struct Case {
        bool hot, pressed, disabled;
        COLORREF fill;
        UINT glyph;
    } cases[] = {
        {true, true, true, RGB(142, 223, 255), 142}, {false, true, true, RGB(60, 78, 98), 143},
        {false, false, true, RGB(0, 0, 0), 141},     {false, false, false, RGB(116, 122, 128), 144},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.glyph);
        DibCanvas canvas(140, 40);
        painter.DrawHelpButton(canvas.dc(), kHelpAt96, c.hot, c.pressed, c.disabled);
        EXPECT_TRUE(canvas.allOf({100, 5, 101, 20}, c.fill));   // filled beside the glyph
        EXPECT_TRUE(canvas.allOf({118, 5, 119, 20}, c.fill));
        EXPECT_EQ(RGB(0x11, 0x22, 0x33), canvas.pixel(99, 4));
        // At 96 DPI the glyph at its own size at (101, 5), pixel for pixel.
        HBITMAP glyph = ::LoadBitmapW(data.get(), MAKEINTRESOURCEW(c.glyph));
        HDC memory = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(memory, glyph);
        int differing = 0;
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 16; ++x)
                differing += ::GetPixel(memory, x, y) != canvas.pixel(101 + x, 5 + y);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
        ::DeleteObject(glyph);
        EXPECT_EQ(0, differing);

        // At 144 DPI the question mark grows as the button does (24 / 15), still centred in it.
        DibCanvas large(140, 40);
        painter.DrawHelpButton(large.dc(), kHelpAt144, c.hot, c.pressed, c.disabled);
        // The glyph's ink, every state's at least 360 apart from its fill, without the edge the
        // smoothing blends.
        const RECT small = canvas.boundsFarFrom(kHelpAt96, c.fill, 180);
        const RECT grown = large.boundsFarFrom(kHelpAt144, c.fill, 180);
        const int smallHeight = small.bottom - small.top, grownHeight = grown.bottom - grown.top;
        const int smallWidth = small.right - small.left, grownWidth = grown.right - grown.left;
        EXPECT_LE(10, smallHeight);
        EXPECT_NEAR(smallHeight * 24 / 15, grownHeight, 2);
        EXPECT_NEAR(smallWidth * 24 / 15, grownWidth, 2);
        EXPECT_NEAR((kHelpAt144.left + kHelpAt144.right) / 2, (grown.left + grown.right) / 2, 1);
        EXPECT_NEAR((kHelpAt144.top + kHelpAt144.bottom) / 2, (grown.top + grown.bottom) / 2, 2);
        EXPECT_TRUE(large.allOf({100, 5, 128, 6}, c.fill));   // the fill still frames it
    }
    EXPECT_EQ(4u, painter.cachedBitmapCount());

    // No data library: the library's own help button.
    KivoDialogPainter noLibrary(L"NoSuchKivoData.dll");
    TesselDialogPainter library;
    DibCanvas expected(140, 40), actual(140, 40);
    library.DrawHelpButton(expected.dc(), kHelpAt96, false, false, false);
    noLibrary.DrawHelpButton(actual.dc(), kHelpAt96, false, false, false);
    EXPECT_TRUE(actual.sameAs(expected));
    EXPECT_EQ(0u, noLibrary.cachedBitmapCount());
}

// The state of a DC that a painter must leave as it found it.
struct DcState {
    COLORREF text, back;
    int mode, stretch;
    HGDIOBJ pen, brush, font, bitmap;
    RECT clip;
    bool operator==(const DcState& o) const
    {
        return text == o.text && back == o.back && mode == o.mode && stretch == o.stretch && pen == o.pen &&
               brush == o.brush && font == o.font && bitmap == o.bitmap && ::EqualRect(&clip, &o.clip);
    }
};

DcState stateOf(HDC hdc)
{
    DcState s = {::GetTextColor(hdc), ::GetBkColor(hdc), ::GetBkMode(hdc), ::GetStretchBltMode(hdc),
                 ::GetCurrentObject(hdc, OBJ_PEN), ::GetCurrentObject(hdc, OBJ_BRUSH),
                 ::GetCurrentObject(hdc, OBJ_FONT), ::GetCurrentObject(hdc, OBJ_BITMAP), {}};
    ::GetClipBox(hdc, &s.clip);
    return s;
}

TEST(SkinPaintersTest, EveryPainterCallLeavesTheDcAsItFoundIt)
{
    DibCanvas canvas(200, 60);
    HDC hdc = canvas.hdc();
    ::SetTextColor(hdc, RGB(1, 2, 3));
    ::SetBkColor(hdc, RGB(4, 5, 6));
    ::SetBkMode(hdc, OPAQUE);
    ::SetStretchBltMode(hdc, COLORONCOLOR);
    ::SelectObject(hdc, ::GetStockObject(DKGRAY_BRUSH));
    ::SelectObject(hdc, ::GetStockObject(WHITE_PEN));
    ::SelectObject(hdc, ::GetStockObject(ANSI_VAR_FONT));
    ::IntersectClipRect(hdc, 1, 1, 199, 59);
    const DcState before = stateOf(hdc);

    KivoButtonPainter skinned;
    skinned.enableSkin();
    KivoButtonPainter plain;
    KivoDialogPainter dialog;
    CDC& dc = canvas.dc();
    const RECT r = {2, 2, 120, 32};
    std::vector<std::pair<const char*, std::function<void()>>> calls;
    for (AbstractButtonPainter* p : {static_cast<AbstractButtonPainter*>(&skinned), static_cast<AbstractButtonPainter*>(&plain)}) {
        for (int state = 0; state < 4; ++state)
            calls.push_back({kStateNames[state], [=, &dc] { (p->*kStates[state])(dc, r, L"&Front"); }});
        calls.push_back({"focus", [=, &dc] { p->DrawFocus(dc, r); }});
    }
    for (bool flag : {false, true}) {
        calls.push_back({"client", [&] { dialog.DrawClient(dc, r); }});
        calls.push_back({"frame", [&, flag] { dialog.DrawNonClient(dc, r, flag); }});
        calls.push_back({"title bar", [&, flag] { dialog.DrawTitleBar(dc, r, flag); }});
        calls.push_back({"title", [&, flag] { dialog.DrawTitleText(dc, r, L"Kivo", flag); }});
        calls.push_back({"close", [&, flag] { dialog.DrawCloseButton(dc, r, flag, !flag, flag); }});
        calls.push_back({"help", [&, flag] { dialog.DrawHelpButton(dc, r, false, false, flag); }});
        calls.push_back({"max", [&, flag] { dialog.DrawMaxButton(dc, r, flag, false, false); }});
        calls.push_back({"min", [&, flag] { dialog.DrawMinButton(dc, r, false, flag, false); }});
        calls.push_back({"restore", [&, flag] { dialog.DrawRestoreButton(dc, r, flag, !flag, false); }});
        calls.push_back({"menu bar", [&, flag] { dialog.DrawTopMenuBarBkgnd(dc, r, flag); }});
        calls.push_back({"menu bar item", [&, flag] { dialog.DrawTopMenuBarText(dc, r, L"&File", flag); }});
        calls.push_back({"menu", [&] { dialog.DrawMenuBarBkgnd(dc, r); }});
        calls.push_back({"menu item", [&, flag] { dialog.DrawMenuBarText(dc, r, L"Open", flag, !flag); }});
        calls.push_back({"separator", [&] { dialog.DrawMenuBarSeparator(dc, r); }});
    }
    for (auto& call : calls) {
        call.second();
        EXPECT_TRUE(stateOf(hdc) == before) << call.first;
    }
}

} // namespace
