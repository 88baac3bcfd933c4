// The window-procedure pieces shared by the controls the library draws whole (check boxes, radio
// buttons, group boxes, combo boxes, sliders). Internal to Tsl.dll.
#pragma once

#include "TslLook.h"

#include <afxwin.h>

namespace tsl {

// Where WM_PAINT draws: on BeginPaint's DC always, or on a DC the caller gives in wParam
// (WM_PRINT and friends), BeginPaint's only when it gives none.
enum class PaintDc { BeginPaint, WParamFirst };

// Answers WM_PAINT and WM_PRINTCLIENT with paint(hdc), and WM_ERASEBKGND with nothing to erase
// (paint covers every pixel). True with *result set for those three messages.
template <typename Paint>
bool answerPaintMessages(HWND hWnd, UINT message, WPARAM wParam, PaintDc paintDc, Paint paint,
                         LRESULT* result)
{
    switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        PAINTSTRUCT ps;
        const bool begun = message == WM_PAINT && !(paintDc == PaintDc::WParamFirst && wParam);
        HDC hdc = begun ? ::BeginPaint(hWnd, &ps) : reinterpret_cast<HDC>(wParam);
        if (hdc)
            paint(hdc);
        if (begun)
            ::EndPaint(hWnd, &ps);
        *result = 0;
        return true;
    }
    case WM_ERASEBKGND:
        *result = TRUE;
        return true;
    default:
        return false;
    }
}

// What a control draws itself on: a back buffer of its client area over the target DC, the
// buffer's state saved until the end, and the control's own font selected when it has one.
class ControlCanvas {
public:
    enum Font { NoFont, ControlFont };
    ControlCanvas(HWND hWnd, HDC target, Font font);
    HDC dc() const { return m_buffer.dc(); }
    const RECT& client() const { return m_client; }
    // Puts the finished drawing on the target.
    void copy() { m_buffer.copy(); }

private:
    RECT m_client;
    BackBuffer m_buffer;
    DcStateGuard m_state;
};

// Keeps hot as the mouse comes and goes: WM_MOUSEMOVE makes the control hot and asks for
// WM_MOUSELEAVE (once per visit), WM_MOUSELEAVE ends it; either change asks for a repaint.
void followHover(HWND hWnd, UINT message, bool& hot);
// Draws the control again at once if it still exists, for messages after which the system has
// drawn it itself.
void redrawNowIfAlive(HWND hWnd);

} // namespace tsl
