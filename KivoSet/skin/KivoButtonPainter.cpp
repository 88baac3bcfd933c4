#include "KivoButtonPainter.h"
#include "SkinDrawing.h"
#include "TslColors.h"

namespace {

// The data library's bitmaps of each state: top-left, top, top-right, left, centre, right,
// bottom-left, bottom, bottom-right.
const uint32_t kNormalIds[9] = {158, 157, 159, 155, 154, 156, 152, 151, 153};
const uint32_t kDownIds[9] = {167, 166, 168, 164, 163, 165, 161, 160, 162};
const uint32_t kHotIds[9] = {176, 175, 177, 173, 172, 174, 170, 169, 171};
const uint32_t kDisableIds[9] = {186, 184, 188, 182, 181, 183, 179, 178, 180};

const COLORREF kCaptionNormal = RGB(0, 0, 0);
const COLORREF kCaptionDown = RGB(255, 255, 255);
const COLORREF kCaptionDisabled = RGB(172, 177, 179);

} // namespace

KivoButtonPainter::KivoButtonPainter(const wchar_t* dataLibrary) : m_bitmaps(dataLibrary) {}

KivoButtonPainter::~KivoButtonPainter() = default;

bool KivoButtonPainter::drawSkinned(CDC& dc, const RECT& rect, const CString& caption,
                                    const uint32_t (&ids)[9], bool downText, COLORREF captionColor)
{
    // High contrast asks for the system's colours, which the library's look draws with.
    if (TslHighContrast())
        return false;
    CBitmap* pieces[9];
    for (int i = 0; i < 9; ++i)
        pieces[i] = getBitmap(ids[i]);
    // A state with any piece missing is drawn in the library's look as a whole, never half.
    for (CBitmap* piece : pieces)
        if (!hasBitmap(piece))
            return false;
    drawNineSlice(&dc, rect, pieces[0], pieces[1], pieces[2], pieces[3], pieces[4], pieces[5],
                  pieces[6], pieces[7], pieces[8]);
    if (downText)
        drawDownText(dc, rect, captionColor, caption);
    else
        drawText(dc, rect, captionColor, caption);
    return true;
}

void KivoButtonPainter::DrawNormal(CDC& dc, const RECT& rect, const CString& caption)
{
    if (!m_skinEnabled || !drawSkinned(dc, rect, caption, kNormalIds, false, kCaptionNormal))
        TesselButtonPainter::DrawNormal(dc, rect, caption);
}

void KivoButtonPainter::DrawDown(CDC& dc, const RECT& rect, const CString& caption)
{
    if (!m_skinEnabled || !drawSkinned(dc, rect, caption, kDownIds, true, kCaptionDown))
        TesselButtonPainter::DrawDown(dc, rect, caption);
}

void KivoButtonPainter::DrawHot(CDC& dc, const RECT& rect, const CString& caption)
{
    if (!m_skinEnabled || !drawSkinned(dc, rect, caption, kHotIds, false, kCaptionNormal))
        TesselButtonPainter::DrawHot(dc, rect, caption);
}

void KivoButtonPainter::DrawDisable(CDC& dc, const RECT& rect, const CString& caption)
{
    if (!m_skinEnabled || !drawSkinned(dc, rect, caption, kDisableIds, false, kCaptionDisabled))
        TesselButtonPainter::DrawDisable(dc, rect, caption);
}
