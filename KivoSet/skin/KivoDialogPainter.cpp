#include "KivoDialogPainter.h"
#include "SkinDrawing.h"
#include "TslColors.h"

namespace {

struct HelpLook {
    COLORREF fill;
    uint32_t bitmapId;
};

const HelpLook kHelpHot = {RGB(142, 223, 255), 142};
const HelpLook kHelpPressed = {RGB(60, 78, 98), 143};
const HelpLook kHelpDisabled = {RGB(0, 0, 0), 141};
const HelpLook kHelpNormal = {RGB(116, 122, 128), 144};

// The glyph bitmaps are drawn for the caption button of a 96-DPI screen, 15 pixels high. A taller
// button (a denser screen, where the close button grows too) gets the glyph grown in proportion.
const int kGlyphButtonHeight = 15;

// Where the glyph goes: centred in the button, at its own size or grown with the button; never
// larger than the button.
RECT glyphPlace(const RECT& button, CBitmap* glyph)
{
    BITMAP bm = {};
    ::GetObjectW(static_cast<HBITMAP>(glyph->GetSafeHandle()), sizeof bm, &bm);
    const int height = button.bottom - button.top;
    int cx = bm.bmWidth, cy = bm.bmHeight;
    if (height > kGlyphButtonHeight) {
        cx = ::MulDiv(cx, height, kGlyphButtonHeight);
        cy = ::MulDiv(cy, height, kGlyphButtonHeight);
    }
    cx = cx < button.right - button.left ? cx : button.right - button.left;
    cy = cy < height ? cy : height;
    const int x = (button.left + button.right - cx) / 2;
    const int y = (button.top + button.bottom - cy) / 2;
    return {x, y, x + cx, y + cy};
}

} // namespace

KivoDialogPainter::KivoDialogPainter(const wchar_t* dataLibrary) : m_bitmaps(dataLibrary) {}

KivoDialogPainter::~KivoDialogPainter() = default;

void KivoDialogPainter::DrawHelpButton(CDC& dc, const RECT& rect, bool hot, bool pressed, bool disabled)
{
    const HelpLook& look = hot ? kHelpHot : pressed ? kHelpPressed : disabled ? kHelpDisabled : kHelpNormal;
    // High contrast asks for the system's colours, which the library's look draws with.
    CBitmap* glyph = TslHighContrast() ? nullptr : getBitmap(look.bitmapId);
    if (!hasBitmap(glyph)) {
        TesselDialogPainter::DrawHelpButton(dc, rect, hot, pressed, disabled);
        return;
    }
    // FillSolidRect leaves its colour as the DC's background colour, and a grown glyph is smoothed.
    int saved = dc.SaveDC();
    dc.FillSolidRect(&rect, look.fill);
    ::SetStretchBltMode(dc.GetSafeHdc(), HALFTONE);
    ::SetBrushOrgEx(dc.GetSafeHdc(), 0, 0, nullptr);
    drawStretched(&dc, glyphPlace(rect, glyph), glyph);
    dc.RestoreDC(saved);
}
