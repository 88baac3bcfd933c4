// The library's push button look: a flat face and a one-pixel outline per state.
#include "TslPainters.h"
#include "TslLook.h"

using namespace tsl;

namespace {

void drawFace(CDC& dc, const RECT& rect, COLORREF face, COLORREF outline)
{
    HDC hdc = dc.GetSafeHdc();
    fillRect(hdc, rect, face);
    frameRect(hdc, rect, outline);
}

} // namespace

TesselButtonPainter::TesselButtonPainter() = default;
TesselButtonPainter::~TesselButtonPainter() = default;

void TesselButtonPainter::DrawNormal(CDC& dc, const RECT& rect, const CString& caption)
{
    const Palette look = palette();
    drawFace(dc, rect, look.panel, look.line);
    drawText(dc, rect, look.text, caption);
}

void TesselButtonPainter::DrawDown(CDC& dc, const RECT& rect, const CString& caption)
{
    const Palette look = palette();
    drawFace(dc, rect, look.slate, look.slateLine);
    drawDownText(dc, rect, look.slateText, caption);
}

void TesselButtonPainter::DrawHot(CDC& dc, const RECT& rect, const CString& caption)
{
    const Palette look = palette();
    drawFace(dc, rect, look.hotFace, look.accent);
    drawText(dc, rect, look.text, caption);
}

void TesselButtonPainter::DrawDisable(CDC& dc, const RECT& rect, const CString& caption)
{
    const Palette look = palette();
    drawFace(dc, rect, look.faceDisabled, look.lineDisabled);
    drawText(dc, rect, look.textDisabled, caption);
}

void TesselButtonPainter::DrawFocus(CDC& dc, const RECT& rect)
{
    const Palette look = palette();
    frameRect(dc.GetSafeHdc(), rect, look.accent);
}
