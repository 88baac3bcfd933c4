// The skin library's palette and the small drawing helpers its painters and controls share.
// Internal to Tsl.dll.
#pragma once

#include <afxwin.h>

namespace tsl {

// The panel's own colours: a light body, the panel grey, slate for what is pressed or selected.
const COLORREF kBody = RGB(215, 221, 224);           // dialog body, label background
const COLORREF kPanel = RGB(199, 206, 211);          // panel, push button face
const COLORREF kField = RGB(255, 255, 255);          // edit fields, lists, check boxes
const COLORREF kLine = RGB(142, 150, 158);           // one-pixel outlines
const COLORREF kLineDisabled = RGB(190, 196, 200);
const COLORREF kText = RGB(24, 32, 40);
const COLORREF kTextDisabled = RGB(172, 177, 179);
const COLORREF kSlate = RGB(60, 78, 98);             // pressed faces, checks, thumbs
const COLORREF kSlateLine = RGB(30, 42, 54);
const COLORREF kHotFace = RGB(226, 238, 245);        // the face under the mouse
const COLORREF kAccent = RGB(60, 120, 170);          // hot outlines and the focus cue
const COLORREF kFaceDisabled = RGB(223, 228, 230);
const COLORREF kCaptionActive = RGB(116, 122, 128);
const COLORREF kCaptionInactive = RGB(172, 177, 179);
const COLORREF kCaptionText = RGB(255, 255, 255);
const COLORREF kCaptionTextInactive = RGB(236, 239, 240);
const COLORREF kFrameLine = RGB(84, 92, 100);
const COLORREF kCaptionHot = RGB(142, 223, 255);

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

// The library's answer to WM_CTLCOLOR* for a dialog: body behind texts, check boxes and the dialog
// itself, white behind edit fields and lists.
HBRUSH controlColors(HDC hdc, UINT nCtlColor, HBRUSH body, HBRUSH field);

// Takes a window the library skins out of the system's visual style while the Luna switch is off.
void applyVisualStyleSwitch(HWND hWnd);
// Asks a composited desktop to leave a top-level window's frame and caption to the library.
void takeOverFrame(HWND hWnd);

} // namespace tsl
