#include "KivoDialogPainter.h"
#include "SkinDrawing.h"

namespace {

struct HelpLook {
    COLORREF fill;
    uint32_t bitmapId;
};

const HelpLook kHelpHot = {RGB(142, 223, 255), 142};
const HelpLook kHelpPressed = {RGB(60, 78, 98), 143};
const HelpLook kHelpDisabled = {RGB(0, 0, 0), 141};
const HelpLook kHelpNormal = {RGB(116, 122, 128), 144};

} // namespace

KivoDialogPainter::KivoDialogPainter(const wchar_t* dataLibrary) : m_bitmaps(dataLibrary) {}

KivoDialogPainter::~KivoDialogPainter() = default;

void KivoDialogPainter::DrawHelpButton(CDC& dc, const RECT& rect, bool hot, bool pressed, bool disabled)
{
    const HelpLook& look = hot ? kHelpHot : pressed ? kHelpPressed : disabled ? kHelpDisabled : kHelpNormal;
    CBitmap* glyph = getBitmap(look.bitmapId);
    if (!hasBitmap(glyph)) {
        TesselDialogPainter::DrawHelpButton(dc, rect, hot, pressed, disabled);
        return;
    }
    int saved = dc.SaveDC();   // FillSolidRect leaves its colour as the DC's background colour
    dc.FillSolidRect(&rect, look.fill);
    dc.RestoreDC(saved);
    drawCentered(&dc, rect, glyph);
}
