// The library's dialog look: a light body, a flat grey caption and frame with white text, caption
// buttons that light up cyan under the mouse and turn slate while pressed.
#include "TslPainters.h"
#include "TslLook.h"

using namespace tsl;

namespace {

// Fills the button for its state and returns the colour its glyph is drawn in.
COLORREF captionButtonFace(HDC hdc, const RECT& rect, bool hot, bool pressed, bool disabled)
{
    const Palette look = palette();
    if (hot) {
        fillRect(hdc, rect, look.captionHot);
        return look.captionHotGlyph;
    }
    if (pressed) {
        fillRect(hdc, rect, look.slate);
        return look.slateText;
    }
    return disabled ? look.captionGlyphDisabled : look.captionText;
}

// The glyph's square: centred in the button, a little smaller than its height.
RECT glyphBox(const RECT& rect)
{
    int h = rect.bottom - rect.top;
    int size = h > 8 ? h - 8 : 2;
    int x = (rect.left + rect.right - size) / 2;
    int y = (rect.top + rect.bottom - size) / 2;
    return {x, y, x + size, y + size};
}

void windowGlyph(HDC hdc, const RECT& box, COLORREF color)
{
    frameRect(hdc, box, color);
    fillRect(hdc, {box.left, box.top, box.right, box.top + 2}, color);
}

} // namespace

AbstractDialogPainter::AbstractDialogPainter() = default;
AbstractDialogPainter::~AbstractDialogPainter() = default;

TesselDialogPainter::TesselDialogPainter() = default;
TesselDialogPainter::~TesselDialogPainter() = default;

void TesselDialogPainter::DrawClient(CDC& dc, const RECT& client)
{
    const Palette look = palette();
    fillRect(dc.GetSafeHdc(), client, look.body);
}

void TesselDialogPainter::DrawNonClient(CDC& dc, const RECT& window, bool active)
{
    const Palette look = palette();
    HDC hdc = dc.GetSafeHdc();
    fillRect(hdc, window, active ? look.captionActive : look.captionInactive);
    frameRect(hdc, window, look.frameLine);
}

void TesselDialogPainter::DrawTitleBar(CDC& dc, const RECT& caption, bool active)
{
    const Palette look = palette();
    fillRect(dc.GetSafeHdc(), caption, active ? look.captionActive : look.captionInactive);
}

void TesselDialogPainter::DrawCloseButton(CDC& dc, const RECT& rect, bool hot, bool pressed, bool disabled)
{
    HDC hdc = dc.GetSafeHdc();
    COLORREF ink = captionButtonFace(hdc, rect, hot, pressed, disabled);
    RECT box = glyphBox(rect);
    line(hdc, box.left, box.top, box.right, box.bottom, ink, 2);
    line(hdc, box.left, box.bottom - 1, box.right, box.top - 1, ink, 2);
}

void TesselDialogPainter::DrawHelpButton(CDC& dc, const RECT& rect, bool hot, bool pressed, bool disabled)
{
    HDC hdc = dc.GetSafeHdc();
    COLORREF ink = captionButtonFace(hdc, rect, hot, pressed, disabled);
    drawText(hdc, rect, L"?", ink, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TesselDialogPainter::DrawMaxButton(CDC& dc, const RECT& rect, bool hot, bool pressed, bool disabled)
{
    HDC hdc = dc.GetSafeHdc();
    COLORREF ink = captionButtonFace(hdc, rect, hot, pressed, disabled);
    windowGlyph(hdc, glyphBox(rect), ink);
}

void TesselDialogPainter::DrawMinButton(CDC& dc, const RECT& rect, bool hot, bool pressed, bool disabled)
{
    HDC hdc = dc.GetSafeHdc();
    COLORREF ink = captionButtonFace(hdc, rect, hot, pressed, disabled);
    RECT box = glyphBox(rect);
    fillRect(hdc, {box.left, box.bottom - 2, box.right, box.bottom}, ink);
}

void TesselDialogPainter::DrawRestoreButton(CDC& dc, const RECT& rect, bool hot, bool pressed, bool disabled)
{
    HDC hdc = dc.GetSafeHdc();
    COLORREF ink = captionButtonFace(hdc, rect, hot, pressed, disabled);
    RECT box = glyphBox(rect);
    int step = (box.right - box.left) / 3;
    RECT back = {box.left + step, box.top, box.right, box.bottom - step};
    RECT front = {box.left, box.top + step, box.right - step, box.bottom};
    // The window behind shows only above and to the right of the one in front.
    fillRect(hdc, {back.left, back.top, back.right, back.top + 2}, ink);
    fillRect(hdc, {back.right - 1, back.top, back.right, back.bottom}, ink);
    windowGlyph(hdc, front, ink);
}

void TesselDialogPainter::DrawTitleText(CDC& dc, const RECT& rect, const CString& text, bool active)
{
    const Palette look = palette();
    drawText(dc.GetSafeHdc(), rect, text, active ? look.captionText : look.captionTextInactive,
             DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void TesselDialogPainter::DrawTopMenuBarBkgnd(CDC& dc, const RECT& rect, bool active)
{
    const Palette look = palette();
    HDC hdc = dc.GetSafeHdc();
    fillRect(hdc, rect, look.body);
    fillRect(hdc, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, active ? look.line : look.lineDisabled);
}

void TesselDialogPainter::DrawTopMenuBarText(CDC& dc, const RECT& rect, const CString& text, bool disabled)
{
    const Palette look = palette();
    drawText(dc.GetSafeHdc(), rect, text, disabled ? look.textDisabled : look.text,
             DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TesselDialogPainter::DrawMenuBarBkgnd(CDC& dc, const RECT& rect)
{
    const Palette look = palette();
    HDC hdc = dc.GetSafeHdc();
    fillRect(hdc, rect, look.field);
    frameRect(hdc, rect, look.line);
}

void TesselDialogPainter::DrawMenuBarText(CDC& dc, const RECT& rect, const CString& text, bool selected,
                                          bool disabled)
{
    const Palette look = palette();
    HDC hdc = dc.GetSafeHdc();
    if (selected)
        fillRect(hdc, rect, look.slate);
    RECT r = rect;
    r.left += 8;
    drawText(hdc, r, text, disabled ? look.textDisabled : selected ? look.slateText : look.text,
             DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void TesselDialogPainter::DrawMenuBarSeparator(CDC& dc, const RECT& rect)
{
    const Palette look = palette();
    int y = (rect.top + rect.bottom) / 2;
    fillRect(dc.GetSafeHdc(), {rect.left + 4, y, rect.right - 4, y + 1}, look.line);
}
