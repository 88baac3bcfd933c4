// The skin library's palette and the small drawing helpers its painters and controls share.
// Internal to Tsl.dll.
#pragma once

#include <afxwin.h>

namespace tsl {

// The colours the library draws with, one for each use.
struct Palette {
    COLORREF body;                 // dialog body, label background
    COLORREF panel;                // panel, push button face
    COLORREF field;                // edit fields, lists, check boxes
    COLORREF fieldText;            // text in a field
    COLORREF line;                 // one-pixel outlines
    COLORREF lineDisabled;
    COLORREF text;                 // text on the body, the panel and a button face
    COLORREF textDisabled;
    COLORREF slate;                // pressed faces, checks, thumbs, a selected menu item
    COLORREF slateText;            // text and glyphs on slate
    COLORREF slateLine;
    COLORREF hotFace;              // the face under the mouse, a focused field
    COLORREF accent;               // hot outlines and the focus cue
    COLORREF faceDisabled;
    COLORREF captionActive;
    COLORREF captionInactive;
    COLORREF captionText;
    COLORREF captionTextInactive;
    COLORREF captionGlyphDisabled;
    COLORREF frameLine;
    COLORREF captionHot;           // a caption button under the mouse
    COLORREF captionHotGlyph;
};

// True while Windows' high-contrast mode is on.
bool highContrastOn();
// The colours to draw with now: the panel's own (a light body, the panel grey, slate for what is
// pressed or selected), or, while high contrast is on, the system's colours, as Windows asks of
// every window that draws itself.
Palette palette();
// brush, made again in color when it holds another colour or none; its handle.
HBRUSH solidBrush(CBrush& brush, COLORREF color);

// Saves the DC's whole state and restores it when the scope ends.
class DcStateGuard {
public:
    explicit DcStateGuard(HDC hdc) : m_hdc(hdc), m_saved(::SaveDC(hdc)) {}
    ~DcStateGuard()
    {
        if (m_saved)
            ::RestoreDC(m_hdc, m_saved);
    }
    DcStateGuard(const DcStateGuard&) = delete;
    DcStateGuard& operator=(const DcStateGuard&) = delete;

private:
    HDC m_hdc;
    int m_saved;
};

// A framework DC object over a handle it does not own, for handing to painters.
class BorrowedDC : public CDC {
public:
    explicit BorrowedDC(HDC hdc) { Attach(hdc); }
    ~BorrowedDC() override { Detach(); }
};

// An off-screen copy of a rectangle of a target DC: draw into dc(), then copy() puts it on the
// target in one blit, so a window never shows half-drawn states. Falls back to drawing on the
// target directly when memory for the copy cannot be had.
class BackBuffer {
public:
    BackBuffer(HDC target, int width, int height);
    ~BackBuffer();
    HDC dc() const { return m_memory ? m_memory : m_target; }
    void copy();
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

private:
    HDC m_target;
    int m_width;
    int m_height;
    HDC m_memory = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
};

void fillRect(HDC hdc, const RECT& r, COLORREF color);
// A one-pixel outline just inside r.
void frameRect(HDC hdc, const RECT& r, COLORREF color);
// A line of the given width from (x0, y0) to (x1, y1), pen restored afterwards.
void line(HDC hdc, int x0, int y0, int x1, int y1, COLORREF color, int width = 1);
// Runs draw() (an Ellipse, a RoundRect) with a solid brush of fill and a one-pixel pen of outline
// selected; the DC's own brush and pen are put back and both made objects deleted afterwards.
template <typename Draw>
void drawOutlined(HDC hdc, COLORREF fill, COLORREF outline, Draw draw)
{
    HBRUSH brush = ::CreateSolidBrush(fill);
    HPEN pen = ::CreatePen(PS_SOLID, 1, outline);
    if (brush && pen) {
        HGDIOBJ oldBrush = ::SelectObject(hdc, brush);
        HGDIOBJ oldPen = ::SelectObject(hdc, pen);
        draw();
        ::SelectObject(hdc, oldPen);
        ::SelectObject(hdc, oldBrush);
    }
    if (pen)
        ::DeleteObject(pen);
    if (brush)
        ::DeleteObject(brush);
}
// Text drawn transparently in one colour into rect with DrawText's format; the DC's state is
// restored afterwards.
void drawText(HDC hdc, RECT rect, const CString& text, COLORREF color, UINT format);
// The text of a window (caption, label).
CString windowText(HWND hWnd);
// True unless the window's UI state hides focus cues (mouse-only use so far).
bool showsFocusCues(HWND hWnd);
// The brush and colours the window's parent gives for its controls of this kind (WM_CTLCOLOR*),
// set on hdc; the body colour when the parent gives none.
HBRUSH parentControlBrush(HWND hWnd, HDC hdc, UINT message = WM_CTLCOLORSTATIC);

// The library's answer to WM_CTLCOLOR* for a dialog: the body behind texts, check boxes and the
// dialog itself, the field colour behind edit fields and lists; each brush made in its colour of
// the moment.
HBRUSH controlColors(HDC hdc, UINT nCtlColor, CBrush& body, CBrush& field);
// After a change of the system's colours or of high contrast: the window, its frame and every
// child drawn again, with the colours of the moment.
void redrawForNewColors(HWND hWnd);
// True for the messages that announce such a change (WM_SYSCOLORCHANGE, WM_SETTINGCHANGE for
// high contrast or the colours, WM_THEMECHANGED).
bool announcesNewColors(UINT message, WPARAM wParam);

// Takes a window the library skins out of the system's visual style while the Luna switch is off.
void applyVisualStyleSwitch(HWND hWnd);
// Asks a composited desktop to leave a top-level window's frame and caption to the library.
void takeOverFrame(HWND hWnd);

} // namespace tsl
