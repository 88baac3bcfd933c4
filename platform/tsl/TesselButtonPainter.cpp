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
    drawFace(dc, rect, kPanel, kLine);
    drawText(dc, rect, kText, caption);
}

void TesselButtonPainter::DrawDown(CDC& dc, const RECT& rect, const CString& caption)
{
    drawFace(dc, rect, kSlate, kSlateLine);
    drawDownText(dc, rect, RGB(255, 255, 255), caption);
}

void TesselButtonPainter::DrawHot(CDC& dc, const RECT& rect, const CString& caption)
{
    drawFace(dc, rect, kHotFace, kAccent);
    drawText(dc, rect, kText, caption);
}

void TesselButtonPainter::DrawDisable(CDC& dc, const RECT& rect, const CString& caption)
{
    drawFace(dc, rect, kFaceDisabled, kLineDisabled);
    drawText(dc, rect, kTextDisabled, caption);
}

void TesselButtonPainter::DrawFocus(CDC& dc, const RECT& rect)
{
    frameRect(dc.GetSafeHdc(), rect, kAccent);
}
